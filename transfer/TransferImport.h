// Users and fingerprint templates read from the transfer files into the
// user table, FPinfo and the template store. Files from removable media are
// hostile: a file is read only when it is a regular file whose length holds
// no more records than a terminal ever writes into it; every record is
// checked, a record that cannot be stored is counted, and nothing already
// stored is damaged. A file is read by its length: the count in its header
// is for other readers, and a peer's count may well disagree (its
// fingerprint file counts the templates it holds, not the rows it writes).
//
// The writes of each progress step (of at least a quarter second) are one
// transaction, with the user count of its rows, so that an import cut short
// (power, a killed program) leaves a consistent database that lacks at most
// the records of the step in progress, never half a record. A read error of
// the medium or a write the database does not take (a full flash) stops the
// import there: the step in progress goes back out, the steps before stay.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "data/DatabaseFailure.h"
#include "platform/base/CString.h"
#include "transfer/ImportWriters.h"
#include "transfer/TransferFiles.h"

class CDbSqlite;
class CUserStorage;
class CFPTemplateStore;
class CTransferLoop;
class CTransferFileReader;

// Why a transfer file is not read.
enum class TransferFileRefusal { None, NotRegularFile, TooManyRecords };

struct RefusedTransferFile {
    CString name;
    TransferFileRefusal why = TransferFileRefusal::None;
};

// Why an import stopped inside a file.
enum class TransferImportStop { None, ReadError, WriteFailed };

struct StoppedTransferFile {
    CString name;
    TransferImportStop why = TransferImportStop::None;
    // The file's records that were stored before it stopped.
    int stored = 0;
    // Why the database refused the write that stopped it.
    DatabaseFailure cause = DatabaseFailure::None;
};

class CTransferImport {
public:
    CTransferImport(CTransferLoop& loop, CDbSqlite& db, CUserStorage& users, CFPTemplateStore& store);

    // The files an import reads (the fingerprint file only with templates),
    // looked at before anything is stored: false with the first one refused.
    bool CheckFiles(const CString& folder, bool withTemplates, RefusedTransferFile& refused) const;
    // Bak.yg2, then Bak.yg, from the transfer folder: new users are added,
    // existing ones take the file's fields and keep the columns the files do
    // not carry (sex, photo, birthday). True when either file is there.
    bool ImportUserFiles(const CString& folder);
    // Bak.zw: the templates of users that exist, each written to FPinfo and
    // then to the store, with the finger's bit set in the user's mask.
    // False when the file is not there.
    bool ImportFingerprintFile(const CString& folder);

    // Records read but not stored: the user table or the template store
    // full, a user of the user files not stored and his templates, a field
    // no terminal writes or the user pages refuse, a step that went back out.
    int NotImported() const { return m_notImported; }
    // What users were stored without (a card, a name).
    const ImportNotes& Notes() const { return m_notes; }
    // The file the import stopped in; its `why` is None while it has not.
    const StoppedTransferFile& Stopped() const { return m_stopped; }
    bool HasStopped() const { return m_stopped.why != TransferImportStop::None; }
    // The files that ended inside a record; those bytes were ignored.
    const std::vector<CString>& ShortTails() const { return m_shortTails; }
    // Files refused when their import began (changed since CheckFiles, or
    // never checked): nothing of them was stored.
    const std::vector<RefusedTransferFile>& Refused() const { return m_refused; }

private:
    struct FileRule {
        const char16_t* name;
        int recordSize;
        int maxRecords;
    };
    FileRule UserRule28() const;
    FileRule UserRule27() const;
    FileRule FingerprintRule() const;
    // Opens the file of `rule` when it is there (`present`) and says why it
    // is not to be read, if it is not.
    static TransferFileRefusal Open(const CString& folder, const FileRule& rule, CTransferFileReader& reader,
                                    bool& present);
    // One file's records decoded and given to `writer`; false when the file
    // is not there.
    template <class Writer, class Decode>
    bool ImportFile(const CString& folder, const FileRule& rule, bool holdsTemplates, Writer& writer, Decode decode);

    CTransferLoop& m_loop;
    CDbSqlite& m_db;
    CUserStorage& m_users;
    CFPTemplateStore& m_store;
    int m_notImported = 0;
    ImportNotes m_notes;
    StoppedTransferFile m_stopped;
    // Every user ID the user files named, for the count of templates lost.
    std::unordered_set<std::u16string> m_fileUsers;
    std::vector<CString> m_shortTails;
    std::vector<RefusedTransferFile> m_refused;
};
