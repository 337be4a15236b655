#include "fuzz/transfer_import_fuzz.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/AppDir.h"
#include "data/DbSqlite.h"
#include "data/FPTemplateStore.h"
#include "data/FactoryDatabase.h"
#include "data/SqlHelpers.h"
#include "data/UserStorage.h"
#include "fuzz/fuzz_device.h"
#include "platform/base/device_fs.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferImport.h"
#include "transfer/TransferLoop.h"

namespace {

struct FuzzTerminal {
    FuzzTerminal() {
        FuzzDeviceRoot();
        // Templates are decoded as the terminal decodes them.
        LoadFuzzFpLibraries();
        CString appDir;
        GetAppDir(appDir);
        folder = appDir + u"1";
        std::filesystem::create_directories(DeviceToHostPath(folder.GetString()));
        std::filesystem::create_directories(DeviceToHostPath((appDir + u"DB").GetString()));
        const CString database = appDir + u"DB\\KD4700.DB";
        if (!CreateFactoryDatabase(database) || !db.Open(database)) std::abort();
        // Nothing here needs to survive a power cut.
        db.DirectStatement(u"pragma synchronous = off");
        users = new CUserStorage(db);
        // The users the seed templates name.
        for (const char16_t* id : {u"1", u"2", u"3", u"987654321098"}) {
            UserInfoRecord user;
            user.userid = id;
            users->AddUser(user);
        }
        store.Reset();
        CTransferLoop::SetRecordPause(0);
    }

    CString folder;
    CDbSqlite db;
    CUserStorage* users = nullptr;
    CFPTemplateStore store;
};

FuzzTerminal& Terminal() {
    static FuzzTerminal* terminal = new FuzzTerminal;
    return *terminal;
}

// One import of `bytes` as the file, checked afterwards.
void ImportOnce(FuzzTerminal& terminal, const char16_t* fileName, const std::string& bytes) {
    const std::string host = DeviceToHostPath(TransferFilePath(terminal.folder, fileName).GetString());
    std::ofstream(host, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    CTransferLoop loop(nullptr);
    CTransferImport import(loop, terminal.db, *terminal.users, terminal.store);
    if (CString(fileName) == kFingerprintFile)
        import.ImportFingerprintFile(terminal.folder);
    else
        import.ImportUserFiles(terminal.folder);
    // The user count in memory follows the table, and the store holds the
    // templates of FPinfo's rows of existing users, no more, no fewer.
    if (terminal.users->GetCount() != QueryInt(terminal.db, u"select count(*) from Userinfo") ||
        terminal.store.GetCount() !=
            QueryInt(terminal.db, u"select count(*) from FPinfo, Userinfo where FPinfo.userid = Userinfo.userid"))
        std::abort();
    std::remove(host.c_str());
}

// The size of the records a file's header counts; 0 where it counts none.
size_t CountedRecordSize(const char16_t* fileName) {
    if (CString(fileName) == kFingerprintFile) return PackedFingerprintSize;
    return CString(fileName) == kUserFile28 ? PackedUser28Size : 0;
}

}  // namespace

void ImportTransferFileForFuzzing(const char16_t* fileName, const uint8_t* data, size_t size) {
    FuzzTerminal& terminal = Terminal();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    ImportOnce(terminal, fileName, bytes);
    // An input whose header is no count of its records is refused whole: it
    // goes in again with the count its length holds, so that every input
    // reaches the records too.
    const size_t recordSize = CountedRecordSize(fileName);
    if (recordSize == 0 || bytes.size() < TransferCountSize) return;
    BYTE count[TransferCountSize];
    PutTransferCount(count, static_cast<unsigned>((bytes.size() - TransferCountSize) / recordSize));
    if (bytes.compare(0, TransferCountSize, reinterpret_cast<const char*>(count), TransferCountSize) == 0) return;
    bytes.replace(0, TransferCountSize, reinterpret_cast<const char*>(count), TransferCountSize);
    ImportOnce(terminal, fileName, bytes);
}
