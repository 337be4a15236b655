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

}  // namespace

void ImportTransferFileForFuzzing(const char16_t* fileName, const uint8_t* data, size_t size) {
    FuzzTerminal& terminal = Terminal();
    const std::string host = DeviceToHostPath(TransferFilePath(terminal.folder, fileName).GetString());
    std::ofstream(host, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
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
