// The database writes of an import, record by record. Each statement is
// prepared once for the whole file, and the writes of a record are all
// there or none (the caller groups records in its own transaction).
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "data/SqlHelpers.h"
#include "transfer/TransferFiles.h"

class CFPTemplateStore;

// What became of one record: stored, refused (it is counted and the import
// goes on), or a write the database did not take (the import stops).
enum class ImportOutcome { Stored, Refused, WriteFailed };

// What users were stored without.
struct ImportNotes {
    // The card of the record, which another user holds.
    int cardsLeftOut = 0;
    // The name of the record, in part or whole not in the device's
    // character set: a user here kept his, a new one has '?' in its place.
    int namesUnread = 0;
};

class CUserImportWriter {
public:
    // `users` rows now, of at most `maxUsers`.
    CUserImportWriter(CDbSqlite& db, int users, int maxUsers);

    // An existing user takes the file's fields and keeps the columns the
    // files do not carry (sex, photo, birthday); a new one is added while
    // the table has room. A card another user holds (on the terminal, or
    // given earlier in the import) is given to no second user: the user is
    // stored without it, keeping the card he had, if any. A user here keeps
    // his name when the record's cannot be read whole.
    ImportOutcome Store(const TransferUser& user);
    // Writes the user count of the rows so far, with the step's writes.
    bool FinishStep();
    // The step's writes are in the database, or went back out (the count
    // is the rows' again).
    void StepKept();
    void StepUndone();
    // The notes of the kept steps.
    const ImportNotes& Notes() const { return m_notes; }

private:
    // The holders of each card, as the rows stand now.
    void CountCardHolders();
    // `card` is held by a user other than the one whose card is `ownCard`.
    bool HeldByAnother(const CString& card, const CString& ownCard) const;

    CDbSqlite& m_db;
    int m_users;
    int m_maxUsers;
    ImportNotes m_notes;
    ImportNotes m_stepNotes;
    // Kept beside the rows, so that a card is looked up once per record
    // without a scan of the table (the card column has no index).
    std::unordered_map<std::u16string, int> m_cardHolders;
    StatementPtr m_exists;
    StatementPtr m_update;
    StatementPtr m_insert;
    StatementPtr m_count;
};

class CFingerprintImportWriter {
public:
    // `fileUsers`: the user IDs the user files of the import named, stored
    // or not.
    CFingerprintImportWriter(CDbSqlite& db, CFPTemplateStore& store,
                             const std::unordered_set<std::u16string>& fileUsers);

    // The template of a user who exists: its FPinfo row written (replaced
    // when the finger has one), the finger's bit set in the user's mask and
    // the template put in the store. Refused for an unknown user or when
    // the store is full.
    ImportOutcome Store(const TransferFingerprint& fingerprint);
    // How many templates Store passed over as their user is neither here
    // nor named by the user files (a user deleted since the export).
    int UnknownUsers() const { return m_unknownUsers; }
    bool FinishStep() { return true; }
    void StepKept() {}
    // The step's writes went back out, while the store kept its templates.
    void StepUndone() { m_storeAhead = true; }
    // The store holds templates whose rows are not in the database.
    bool StoreAhead() const { return m_storeAhead; }

private:
    // The record's writes so far taken back.
    void Undo();

    CFPTemplateStore& m_store;
    const std::unordered_set<std::u16string>& m_fileUsers;
    bool m_storeAhead = false;
    int m_unknownUsers = 0;
    StatementPtr m_mask;
    StatementPtr m_exists;
    StatementPtr m_update;
    StatementPtr m_insert;
    StatementPtr m_setMask;
    StatementPtr m_begin;
    StatementPtr m_release;
    StatementPtr m_rollback;
};
