#include "tests/transfer/transfer_fixture.h"

#include <filesystem>
#include <fstream>

#include "core/AppMessageBox.h"
#include "core/MachineConfig.h"
#include "core/SystemLocks.h"
#include "data/DataGlobals.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "data/UserStorage.h"
#include "main/IoController.h"
#include "panel/ControlPanel.h"
#include "platform/base/debug.h"
#include "platform/base/device_fs.h"
#include "platform/base/utf.h"
#include "platform/dev/serial.h"
#include "tests/support/pending_bytes.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferLoop.h"
#include "transfer/TransferPage.h"

TransferTest::TransferTest() {
    g_MachineConfig.DEBUGMODE = 0;
    g_MachineConfig.CodePage = 0;
    store.Reset();
    g_pFPTemplateStore = &store;
    g_pUserStorage = new CUserStorage(*g_pDatabase);
    g_pRecordStore = new CRecordStore(*g_pDatabase);
    CTransferLoop::SetRecordPause(0);
    EXPECT_TRUE(pty.Open());
    MapSerialPort(u"COM3", pty.TerminalPath());
    EXPECT_TRUE(g_ioControllerPort.OpenPort(3, CBR_9600, 0, 8, ONESTOPBIT, CSerialPort::kModePlain));
    journalStart = JournalLastSequence();
    ScriptDriver::RegisterCommand("progress", [this](const std::vector<std::string>& args, std::string*) {
        CControlPanel* panel = CControlPanel::Open();
        auto* page = panel ? dynamic_cast<CTransferPage*>(panel->ShownPage()) : nullptr;
        if (!page) return false;
        if (!args.empty()) page->ProgressBar().SetPos(static_cast<UINT>(std::stoul(args[0])));
        progress.push_back(page->ProgressBar().GetPos());
        return true;
    });
}

void TransferTest::OnPage(UINT node, std::vector<std::string> lines) {
    RunPanelScript(node, std::move(lines), 4);
}

std::vector<std::u16string> TransferTest::Messages() const {
    std::vector<std::u16string> texts;
    for (const JournalEntry& entry : JournalRead(kJournalMessageBox, journalStart)) texts.push_back(entry.text);
    return texts;
}

TransferTest::~TransferTest() {
    ScriptDriver::RegisterCommand("progress", nullptr);
    EXPECT_EQ(TakeMessageBoxAnswer(0), 0) << "every answer given was asked for";
    while (TakeMessageBoxAnswer(0) != 0) {
    }
    g_ioControllerPort.ClosePort();
    MapSerialPort(u"COM3", "");
    CTransferLoop::SetRecordPause(5);
    delete g_pUserStorage;
    g_pUserStorage = nullptr;
    delete g_pRecordStore;
    g_pRecordStore = nullptr;
    g_pFPTemplateStore = nullptr;
    g_MachineConfig.DEBUGMODE = 0;
}

void TransferTest::PutUser(const UserRow& r) {
    StatementPtr insert(g_pDatabase->Statement(u"INSERT INTO Userinfo VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"));
    insert->Bind(0, r.userid.c_str());
    insert->Bind(1, r.CardNo.c_str());
    insert->Bind(2, r.Name.c_str());
    insert->Bind(3, r.sex.c_str());
    insert->Bind(4, r.pwd.c_str());
    insert->Bind(5, r.Deptid);
    insert->Bind(6, r.ACFlag);
    insert->Bind(7, r.IconPath.c_str());
    insert->Bind(8, r.AdminFlag);
    insert->Bind(9, r.Birthday.c_str());
    insert->Bind(10, r.GroupNO);
    insert->Bind(11, r.FPFlag);
    ASSERT_TRUE(insert->Execute());
    g_pUserStorage->LoadCount();
}

void TransferTest::PutTemplate(const std::u16string& userid, int finger, const std::vector<BYTE>& blob) {
    StatementPtr insert(g_pDatabase->Statement(u"Insert into FPinfo(fingerNO,UserID,FPTemplate) values(?,?,?)"));
    insert->Bind(0, finger);
    insert->Bind(1, userid.c_str());
    insert->BindBlob(2, blob.data(), static_cast<int>(blob.size()));
    ASSERT_TRUE(insert->Execute());
}

std::vector<std::u16string> TransferTest::UserColumns(const std::u16string& userid) {
    StatementPtr row = PrepareBound(*g_pDatabase, u"SELECT * from Userinfo where userid = ?", {userid.c_str()});
    std::vector<std::u16string> columns;
    if (!row->NextRow()) return columns;
    for (int i = 1; i < 12; ++i) columns.emplace_back(row->ValueString(i));
    return columns;
}

int TransferTest::Count(const char16_t* sql) { return QueryInt(*g_pDatabase, sql); }

std::string TransferTest::Host(const CString& devicePath) const { return DeviceToHostPath(devicePath.GetString()); }

std::string TransferTest::ReadHostFile(const CString& devicePath) const {
    std::ifstream file(Host(devicePath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void TransferTest::WriteHostFile(const CString& devicePath, const std::string& bytes) const {
    const std::filesystem::path path = Host(devicePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<BYTE> TransferTest::ControllerBytes() { return ReadPendingBytes(pty.ControllerFd()); }

void TransferTest::InsertMedium(int location) {
    std::filesystem::create_directories(Host(GetStorageRoot(location)));
}

std::vector<BYTE> SeededBlob(int size, int seed) {
    std::vector<BYTE> blob(static_cast<size_t>(size));
    unsigned state = 2166136261u ^ static_cast<unsigned>(seed);
    for (BYTE& b : blob) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<BYTE>(state >> 24);
    }
    return blob;
}
