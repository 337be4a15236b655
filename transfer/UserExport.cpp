#include "transfer/UserExport.h"

#include "data/SqlHelpers.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"
#include "transfer/TransferLoop.h"

namespace {

// The rows of `select` encoded into the file `name`, `total` of them
// expected. The header counts the records written.
template <int RecordSize, class Encode>
bool ExportRows(const CString& folder, const char16_t* name, const char16_t* select, unsigned total,
                CTransferLoop& loop, CDbSqlite& db, Encode encode) {
    CTransferFileWriter writer;
    loop.Begin(true);
    StatementPtr rows(db.Statement(select));
    BYTE record[RecordSize] = {};
    unsigned done = 0;
    while (rows->NextRow()) {
        ++done;
        loop.Show(done, total);
        if (encode(*rows, record)) writer.Append(record, RecordSize);
        loop.FeedWhenDue();
        loop.Pause();
    }
    rows.reset();
    if (!writer.Commit(TransferFilePath(folder, name))) return false;
    // An empty table leaves the bar at the 0 shown at the start.
    if (done > 0) loop.Finish();
    return true;
}

}  // namespace

bool ExportUserFile(const CString& folder, CTransferLoop& loop, CDbSqlite& db) {
    const unsigned total = static_cast<unsigned>(QueryInt(db, u"SELECT Count(*) from Userinfo"));
    return ExportRows<PackedUser28Size>(folder, kUserFile28, u"SELECT  * from Userinfo", total, loop, db,
                                        [](CSqlStatement& row, BYTE* record) {
                                            EncodeUser28(row, record);
                                            return true;
                                        });
}

bool ExportFingerprintFile(const CString& folder, CTransferLoop& loop, CDbSqlite& db) {
    const unsigned total = static_cast<unsigned>(QueryInt(db, u"SELECT Count(*) from FPinfo"));
    return ExportRows<PackedFingerprintSize>(folder, kFingerprintFile, u"Select * from FPinfo", total, loop, db,
                                             EncodeFingerprint);
}
