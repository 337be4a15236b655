#include "transfer/UserExport.h"

#include "data/SqlHelpers.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"
#include "transfer/TransferLoop.h"

namespace {

// The rows of `select` encoded and written whole under the temporary name
// of the file `name`, `total` of them expected. The header counts the
// records written.
template <int RecordSize, class Encode>
bool WriteRows(CTransferFileWriter& writer, const CString& folder, const char16_t* name, const char16_t* select,
               unsigned total, CTransferLoop& loop, CDbSqlite& db, Encode encode) {
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
    if (!writer.Finish(TransferFilePath(folder, name))) return false;
    // An empty table leaves the bar at the 0 shown at the start.
    if (done > 0) loop.Finish();
    return true;
}

bool WriteUsers(CTransferFileWriter& writer, const CString& folder, CTransferLoop& loop, CDbSqlite& db) {
    const unsigned total = static_cast<unsigned>(QueryInt(db, u"SELECT Count(*) from Userinfo"));
    return WriteRows<PackedUser28Size>(writer, folder, kUserFile28, u"SELECT  * from Userinfo", total, loop, db,
                                       [](CSqlStatement& row, BYTE* record) {
                                           EncodeUser28(row, record);
                                           return true;
                                       });
}

bool WriteFingerprints(CTransferFileWriter& writer, const CString& folder, CTransferLoop& loop, CDbSqlite& db) {
    const unsigned total = static_cast<unsigned>(QueryInt(db, u"SELECT Count(*) from FPinfo"));
    return WriteRows<PackedFingerprintSize>(writer, folder, kFingerprintFile, u"Select * from FPinfo", total, loop, db,
                                            EncodeFingerprint);
}

}  // namespace

bool ExportUserFiles(const CString& folder, bool withTemplates, CTransferLoop& loop, CDbSqlite& db) {
    CTransferFileWriter users;
    if (!WriteUsers(users, folder, loop, db)) return false;
    if (!withTemplates) return CTransferFileWriter::CommitInOrder({&users});
    CTransferFileWriter fingerprints;
    if (!WriteFingerprints(fingerprints, folder, loop, db)) return false;
    // The templates first: should the power fail between the two, the
    // fingers that open are the ones enrolled today, beside the users of
    // the export before; never the templates of the export before (of a
    // person deleted since, whose ID may be another's now) beside today's
    // users.
    return CTransferFileWriter::CommitInOrder({&fingerprints, &users});
}
