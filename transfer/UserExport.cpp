#include "transfer/UserExport.h"

#include "data/SqlHelpers.h"
#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/host_files.h"
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

// The templates of an export before would be read beside users exported
// now, and those of a person deleted since would open for whoever has his
// ID today. The removal is flushed, so that a power cut does not bring the
// file back beside the new users. A folder of that name holds no templates
// and stays.
bool RemoveOlderTemplates(const CString& folder) {
    const std::string path = DeviceToHostPath(TransferFilePath(folder, kFingerprintFile).GetString());
    if (HostEntryAt(path) == HostEntry::Folder) return true;
    return RemoveHostFile(path) && SyncHostFolder(DeviceToHostPath(folder.GetString()));
}

}  // namespace

bool ExportUserFiles(const CString& folder, bool withTemplates, CTransferLoop& loop, CDbSqlite& db) {
    CTransferFileWriter users;
    if (!WriteUsers(users, folder, loop, db)) return false;
    // The older templates go before the users take their place: a power cut
    // between the two leaves the users of the export before without
    // templates, never today's users beside another person's finger.
    if (!withTemplates) return RemoveOlderTemplates(folder) && CTransferFileWriter::CommitInOrder({&users});
    CTransferFileWriter fingerprints;
    if (!WriteFingerprints(fingerprints, folder, loop, db)) return false;
    // The templates first: should the power fail between the two, the
    // fingers that open are the ones enrolled today, beside the users of
    // the export before; never the templates of the export before (of a
    // person deleted since, whose ID may be another's now) beside today's
    // users.
    return CTransferFileWriter::CommitInOrder({&fingerprints, &users});
}
