// Users and fingerprint templates read from the transfer files into the
// user table, FPinfo and the template store. Files from removable media are
// hostile: every record is checked, a record that cannot be stored is
// counted, and nothing already stored is damaged.
//
// The writes of each progress step (of at least a quarter second) are one
// transaction, so that an import cut short (power, a killed program) leaves
// a consistent database that lacks at most the records of the step in
// progress, never half a record.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/CString.h"
#include "transfer/TransferFiles.h"

class CDbSqlite;
class CUserStorage;
class CFPTemplateStore;
class CTransferLoop;

class CTransferImport {
public:
    CTransferImport(CTransferLoop& loop, CDbSqlite& db, CUserStorage& users, CFPTemplateStore& store);

    // Bak.yg2, then Bak.yg, from the transfer folder: new users are added,
    // existing ones take the file's fields and keep the columns the files do
    // not carry (sex, photo, birthday). True when either file opened.
    bool ImportUserFiles(const CString& folder);
    // Bak.zw: the templates of users that exist, each written to FPinfo and
    // then to the store, with the finger's bit set in the user's mask.
    // False when the file cannot be opened.
    bool ImportFingerprintFile(const CString& folder);

    // Records read but not stored: the user table or the template store
    // full, an unknown user, a finger that is none, a failed write.
    int NotImported() const { return m_notImported; }
    // The files that ended inside a record; those bytes were ignored.
    const std::vector<CString>& ShortTails() const { return m_shortTails; }

private:
    // One file's records through `store`, one record at a time; false when
    // the file cannot be opened.
    template <class Store>
    bool ImportFile(const CString& folder, const char16_t* name, int recordSize, bool holdsTemplates, Store store);
    bool StoreUser(const TransferUser& user);
    bool StoreFingerprint(const TransferFingerprint& fingerprint);

    CTransferLoop& m_loop;
    CDbSqlite& m_db;
    CUserStorage& m_users;
    CFPTemplateStore& m_store;
    int m_notImported = 0;
    std::vector<CString> m_shortTails;
    // A template entered the store but its row did not reach the database.
    bool m_storeAhead = false;
    // FPinfo's statements, while a fingerprint file is imported.
    std::unique_ptr<CSqlStatement> m_fingerExists;
    std::unique_ptr<CSqlStatement> m_fingerUpdate;
    std::unique_ptr<CSqlStatement> m_fingerInsert;
};
