#include "transfer/TransferImport.h"

#include <memory>

#include "data/DataLocks.h"
#include "data/DbTransaction.h"
#include "data/FPTemplateStore.h"
#include "data/SqlHelpers.h"
#include "data/UserStorage.h"
#include "platform/base/clock.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferLoop.h"

namespace {

constexpr DWORD kMinStepMs = 250;

// The writes of one progress step. The template store's lock is taken
// before the database's (the order every data object keeps), and held for
// the step, so that the store and FPinfo change together.
class CImportStep {
public:
    CImportStep(CDbSqlite& db, bool holdsTemplates) : m_db(db), m_holdsTemplates(holdsTemplates) { Begin(); }
    // True when the step's writes are in the database.
    bool Commit() {
        const bool committed = m_transaction && m_transaction->Commit();
        m_transaction.reset();
        m_storeLock.reset();
        return committed;
    }
    bool Renew() {
        const bool committed = Commit();
        Begin();
        return committed;
    }

private:
    void Begin() {
        if (m_holdsTemplates) m_storeLock = std::make_unique<CLockGuard>(g_csTemplateStore);
        m_transaction = std::make_unique<CDbTransaction>(m_db);
    }

    CDbSqlite& m_db;
    bool m_holdsTemplates;
    std::unique_ptr<CLockGuard> m_storeLock;
    std::unique_ptr<CDbTransaction> m_transaction;
};

}  // namespace

CTransferImport::CTransferImport(CTransferLoop& loop, CDbSqlite& db, CUserStorage& users, CFPTemplateStore& store)
    : m_loop(loop), m_db(db), m_users(users), m_store(store) {}

template <class Store>
bool CTransferImport::ImportFile(const CString& folder, const char16_t* name, int recordSize, bool holdsTemplates,
                                 Store store) {
    CTransferFileReader reader;
    if (!reader.Open(TransferFilePath(folder, name), recordSize)) return false;
    m_loop.Begin(false);
    BYTE record[PackedFingerprintSize];
    int records = 0;
    int stepRecords = 0;
    int stepStored = 0;
    const auto endStep = [&](bool committed) {
        // A step that did not commit stored none of its records, and the
        // store may hold templates whose rows went back out.
        if (!committed) {
            m_notImported += stepStored;
            m_storeAhead = m_storeAhead || (holdsTemplates && stepStored > 0);
        }
        m_notImported += stepRecords - stepStored;
        stepRecords = stepStored = 0;
    };
    {
        CImportStep step(m_db, holdsTemplates);
        DWORD stepBegin = GetTickCount();
        while (reader.Next(record)) {
            // A step ends with a change of the bar, once it has lasted a
            // while: a fast import is not slowed by a commit per percent.
            if (m_loop.Show(reader.Position(), reader.Length()) && GetTickCount() - stepBegin >= kMinStepMs) {
                endStep(step.Renew());
                stepBegin = GetTickCount();
            }
            m_loop.FeedWhenDue();
            ++records;
            ++stepRecords;
            if (store(record)) ++stepStored;
            m_loop.Pause();
        }
        endStep(step.Commit());
    }
    if (reader.HasShortTail()) m_shortTails.push_back(name);
    // A file of its header alone leaves the bar where it was.
    if (records > 0) m_loop.Finish();
    return true;
}

bool CTransferImport::ImportUserFiles(const CString& folder) {
    const int countBefore = m_users.GetCount();
    const auto store = [this](void (*decode)(const BYTE*, TransferUser&)) {
        return [this, decode](const BYTE* record) {
            TransferUser user;
            decode(record, user);
            return StoreUser(user);
        };
    };
    const bool found28 = ImportFile(folder, kUserFile28, PackedUser28Size, false, store(DecodeUser28));
    const bool found27 = ImportFile(folder, kUserFile27, PackedUser27Size, false, store(DecodeUser27));
    // The count in memory follows what was committed.
    if (m_notImported > 0 || countBefore != m_users.GetCount()) m_users.LoadCount();
    return found28 || found27;
}

bool CTransferImport::StoreUser(const TransferUser& fileUser) {
    // An existing user keeps what the file does not carry.
    UserInfoRecord user;
    const bool exists = m_users.UserIdExists(fileUser.userid) && m_users.GetUser(fileUser.userid, &user);
    user.userid = fileUser.userid;
    user.CardNo = fileUser.CardNo;
    user.Name = fileUser.Name;
    user.pwd = fileUser.pwd;
    user.Deptid = fileUser.Deptid;
    user.GroupNO = fileUser.GroupNO;
    user.ACFlag = fileUser.ACFlag;
    user.AdminFlag = fileUser.AdminFlag;
    // The user and his finger mask go in together or not at all.
    CDbTransaction record(m_db);
    int result = exists ? m_users.UpdateUser(user) : m_users.AddUser(user);
    if (result == 0 && fileUser.fingerMask >= 0) result = m_users.SetFPFlag(fileUser.userid, fileUser.fingerMask);
    return result == 0 && record.Commit();
}

bool CTransferImport::ImportFingerprintFile(const CString& folder) {
    m_storeAhead = false;
    // Three statements serve every record: prepared once, not per record.
    m_fingerExists.reset(m_db.Statement(u"SELECT * FROM FPinfo WHERE userid = ? and fingerNO = ? "));
    m_fingerUpdate.reset(m_db.Statement(u"Update FPinfo set FPTemplate = ? WHERE userid = ? and fingerNO = ?"));
    m_fingerInsert.reset(m_db.Statement(u"Insert into FPinfo(fingerNO,UserID,FPTemplate) values(?,?,?)"));
    const bool found = ImportFile(folder, kFingerprintFile, PackedFingerprintSize, true, [this](const BYTE* record) {
        TransferFingerprint fingerprint;
        return DecodeFingerprint(record, fingerprint) && StoreFingerprint(fingerprint);
    });
    m_fingerExists.reset();
    m_fingerUpdate.reset();
    m_fingerInsert.reset();
    // The store holds only what the database holds.
    if (m_storeAhead) FillTemplateStore(m_store, m_db);
    return found;
}

bool CTransferImport::StoreFingerprint(const TransferFingerprint& fingerprint) {
    // Only a user who exists gets templates; his finger mask is read here too.
    int mask = 0;
    if (!m_users.GetFPFlag(fingerprint.userid, &mask)) return false;
    // The row first, then the store: a template the store refuses takes its
    // row back out.
    CDbTransaction record(m_db);
    m_fingerExists->Bind(0, fingerprint.userid);
    m_fingerExists->Bind(1, fingerprint.finger);
    CSqlStatement& write = m_fingerExists->HasRow() ? *m_fingerUpdate : *m_fingerInsert;
    const bool update = &write == m_fingerUpdate.get();
    const bool bound = write.BindBlob(update ? 0 : 2, fingerprint.templ, StoredTemplateSize) &&
                       write.Bind(1, fingerprint.userid) && write.Bind(update ? 2 : 0, fingerprint.finger);
    if (!bound || !write.Execute()) {
        write.Reset();
        return false;
    }
    if (m_users.SetFPFlag(fingerprint.userid, mask | (1 << fingerprint.finger)) != 0) return false;
    if (m_store.Add(fingerprint.templ, fingerprint.userid, fingerprint.finger, TRUE, StoredTemplateSize) != 1) return false;
    if (record.Commit()) return true;
    m_storeAhead = true;
    return false;
}
