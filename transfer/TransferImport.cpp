#include "transfer/TransferImport.h"

#include <memory>

#include "core/DebugPrint.h"
#include "data/DataLocks.h"
#include "data/DbTransaction.h"
#include "data/FPTemplateStore.h"
#include "data/UserStorage.h"
#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/ui/longwork.h"
#include "transfer/ImportWriters.h"
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
    // The step's transaction began: the database takes writes.
    bool IsOpen() const { return m_transaction && m_transaction->IsOpen(); }
    // True when the step's writes are in the database; `keep` false takes
    // them back out.
    bool End(bool keep) {
        const bool committed = keep && m_transaction && m_transaction->Commit();
        m_transaction.reset();
        m_storeLock.reset();
        return committed;
    }
    bool Renew(bool keep) {
        const bool committed = End(keep);
        Begin();
        return committed;
    }

private:
    void Begin() {
        if (m_holdsTemplates) m_storeLock = std::make_unique<CDataStoreLock>(g_csTemplateStore);
        m_transaction = std::make_unique<CDbTransaction>(m_db);
    }

    CDbSqlite& m_db;
    bool m_holdsTemplates;
    std::unique_ptr<CDataStoreLock> m_storeLock;
    std::unique_ptr<CDbTransaction> m_transaction;
};

}  // namespace

CTransferImport::CTransferImport(CTransferLoop& loop, CDbSqlite& db, CUserStorage& users, CFPTemplateStore& store)
    : m_loop(loop), m_db(db), m_users(users), m_store(store) {}

CTransferImport::FileRule CTransferImport::UserRule28() const {
    return {kUserFile28, PackedUser28Size, m_users.GetMax()};
}

CTransferImport::FileRule CTransferImport::UserRule27() const {
    return {kUserFile27, PackedUser27Size, m_users.GetMax()};
}

CTransferImport::FileRule CTransferImport::FingerprintRule() const {
    // A row for each finger of each user, and as many again of users
    // deleted since: a terminal's export carries every row its table holds.
    return {kFingerprintFile, PackedFingerprintSize, 2 * TransferFingers * m_users.GetMax()};
}

TransferFileRefusal CTransferImport::Open(const CString& folder, const FileRule& rule, CTransferFileReader& reader,
                                          bool& present) {
    const CString path = TransferFilePath(folder, rule.name);
    const FileEntryKind kind = GetFileEntryKind(path);
    present = kind != FileEntryKind::Missing;
    if (!present) return TransferFileRefusal::None;
    if (kind != FileEntryKind::RegularFile || !reader.Open(path, rule.recordSize))
        return TransferFileRefusal::NotRegularFile;
    if (reader.Records() > static_cast<ULONGLONG>(rule.maxRecords)) return TransferFileRefusal::TooManyRecords;
    return TransferFileRefusal::None;
}

bool CTransferImport::CheckFiles(const CString& folder, bool withTemplates, RefusedTransferFile& refused) const {
    std::vector<FileRule> rules{UserRule28(), UserRule27()};
    if (withTemplates) rules.push_back(FingerprintRule());
    for (const FileRule& rule : rules) {
        CTransferFileReader reader;
        bool present = false;
        refused = {rule.name, Open(folder, rule, reader, present)};
        if (refused.why != TransferFileRefusal::None) return false;
    }
    return true;
}

template <class Writer, class Decode>
bool CTransferImport::ImportFile(const CString& folder, const FileRule& rule, bool holdsTemplates, Writer& writer,
                                 Decode decode) {
    CTransferFileReader reader;
    bool present = false;
    const TransferFileRefusal refusal = Open(folder, rule, reader, present);
    if (refusal != TransferFileRefusal::None) m_refused.push_back({rule.name, refusal});
    if (!present || refusal != TransferFileRefusal::None) return present;
    // A failed write is told once, by the page, with what was stored.
    CQuietStatementErrors quiet;
    m_loop.Begin(false);
    BYTE record[PackedFingerprintSize];
    int records = 0;
    int stored = 0;
    int stepRecords = 0;
    int stepStored = 0;
    const auto endStep = [&](bool committed) {
        if (committed) {
            writer.StepKept();
            stored += stepStored;
        } else {
            // A step that did not commit stored none of its records.
            m_notImported += stepStored;
            writer.StepUndone();
        }
        m_notImported += stepRecords - stepStored;
        stepRecords = stepStored = 0;
        return committed;
    };
    bool writeFailed = false;
    // The end may also come once a write's wait for another program is over.
    const CLongWorkEndNote endNote([&] {
        DebugPrint(u"import ended by a close or a stop signal: %d of the %I64d records of %s stored", stored,
                   static_cast<__int64>(reader.Records()), rule.name);
    });
    {
        CImportStep step(m_db, holdsTemplates);
        // A step whose transaction did not begin would write record by
        // record: nothing is written then.
        writeFailed = !step.IsOpen();
        DWORD stepBegin = GetTickCount();
        while (!writeFailed && reader.Next(record)) {
            // A step ends with a change of the bar, once it has lasted a
            // while: a fast import is not slowed by a commit per percent.
            if (m_loop.Show(reader.Position(), reader.Length()) && GetTickCount() - stepBegin >= kMinStepMs) {
                writeFailed = !endStep(step.Renew(writer.FinishStep())) || !step.IsOpen();
                if (writeFailed) break;
                stepBegin = GetTickCount();
            }
            // An end asked for (the window's close, a stop signal) ends the
            // terminal here, the step under way rolled back.
            m_loop.FeedWhenDue();
            ++records;
            ++stepRecords;
            const ImportOutcome outcome = decode(record, writer);
            if (outcome == ImportOutcome::Stored) ++stepStored;
            m_loop.Pause();
            writeFailed = outcome == ImportOutcome::WriteFailed;
            if (writeFailed) break;
        }
        // The records read before a read error are sound: they are kept.
        if (!writeFailed) writeFailed = !endStep(step.End(writer.FinishStep()));
        else endStep(step.End(false));
    }
    if (writeFailed || reader.HasReadError()) {
        m_stopped = {rule.name, writeFailed ? TransferImportStop::WriteFailed : TransferImportStop::ReadError, stored,
                     quiet.Failure()};
        m_loop.Fail();
        return true;
    }
    if (reader.HasShortTail()) m_shortTails.push_back(rule.name);
    // A file of its header alone leaves the bar where it was.
    if (records > 0) m_loop.Finish();
    return true;
}

bool CTransferImport::ImportUserFiles(const CString& folder) {
    CUserImportWriter writer(m_db, m_users.GetCount(), m_users.GetMax());
    const auto store = [this](bool (*decode)(const BYTE*, TransferUser&)) {
        return [this, decode](const BYTE* record, CUserImportWriter& users) {
            TransferUser user;
            const bool sound = decode(record, user);
            m_fileUsers.insert(user.userid.str());
            return sound ? users.Store(user) : ImportOutcome::Refused;
        };
    };
    const bool found28 = ImportFile(folder, UserRule28(), false, writer, store(DecodeUser28));
    const bool found27 = !HasStopped() && ImportFile(folder, UserRule27(), false, writer, store(DecodeUser27));
    m_notes = writer.Notes();
    // The count in memory follows what was committed; each step wrote it
    // to BasePara with its rows, so it is only read (a database another
    // program holds is not waited for once more).
    m_users.SetCount(QueryInt(m_db, u"select count(*) from Userinfo"));
    return found28 || found27;
}

bool CTransferImport::ImportFingerprintFile(const CString& folder) {
    CFingerprintImportWriter writer(m_db, m_store, m_fileUsers);
    const bool found = ImportFile(folder, FingerprintRule(), true, writer,
                                  [](const BYTE* record, CFingerprintImportWriter& fingerprints) {
                                      TransferFingerprint fingerprint;
                                      return DecodeFingerprint(record, fingerprint) ? fingerprints.Store(fingerprint)
                                                                                    : ImportOutcome::Refused;
                                  });
    // Templates of users neither here nor in the user files are passed over
    // without a word, not counted as lost: an export carries those of users
    // deleted since.
    m_notImported -= writer.UnknownUsers();
    // The store holds only what the database holds.
    if (writer.StoreAhead()) FillTemplateStore(m_store, m_db);
    return found;
}
