#include "tools/records/record_writer.h"

#include "data/DataGlobals.h"
#include "data/DataLocks.h"
#include "data/DbTransaction.h"
#include "platform/base/utf.h"

namespace {

// False at the first record or commit the database refuses.
bool WriteInOneTransaction(CRecordStore& store, const std::vector<PlannedRecord>& planned) {
    CLockGuard ringLock(g_csRecordStore);
    CDbTransaction transaction(*g_pDatabase);
    if (!transaction.IsOpen()) return false;
    for (const PlannedRecord& entry : planned) {
        CheckinoutRecord record;
        record.Userid = CString(Utf8ToUtf16(entry.userId));
        record.CheckTime = CString(Utf8ToUtf16(entry.checkTime));
        record.CheckType = entry.checkType;
        if (store.AddRecord(record) != 0) return false;
    }
    return transaction.Commit();
}

}  // namespace

DatabaseFailure AddPlannedRecords(CRecordStore& store, const std::vector<PlannedRecord>& planned) {
    // The cause is told once, by the caller: no box for each statement.
    CQuietStatementErrors quiet;
    if (WriteInOneTransaction(store, planned)) return DatabaseFailure::None;
    // The records written before the refusal went back out with the
    // transaction: the store's counters follow the database again.
    store.LoadCounters();
    return quiet.Failure() == DatabaseFailure::None ? DatabaseFailure::Other : quiet.Failure();
}

std::string NothingAddedText(DatabaseFailure cause, size_t count, const std::string& root) {
    return Utf16ToUtf8(DatabaseFailureText(cause).str()) + ": none of the " + std::to_string(count) +
           " records was added to " + root;
}
