#include "tests/rules_access/rules_fixture.h"

#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "core/AccessTables.h"
#include "core/ConfigXml.h"
#include "core/MachineConfig.h"
#include "core/XmlLookup.h"
#include "data/DataGlobals.h"
#include "main/IoController.h"
#include "panel/ControlPanel.h"
#include "platform/base/debug.h"
#include "platform/base/utf.h"
#include "platform/dev/serial.h"
#include "tests/support/pending_bytes.h"
#include "widgets/JHSelectBox.h"

namespace {

int ConfigInt(const char16_t* key) {
    int value = 0;
    GetConfigInt(key, value);
    return value;
}


}  // namespace

RulesTest::RulesTest() {
    m_journalStart = JournalLastSequence();
    EXPECT_TRUE(g_ConfigDoc.ReadFromFile(GetConfigFilePath()));
    CMachineConfig& c = g_MachineConfig;
    c.VERTIFYTYPE = ConfigInt(u"VERTIFYTYPE");
    c.REATTIMEGAP = ConfigInt(u"REATTIMEGAP");
    c.WARNINGNUM = ConfigInt(u"WARNINGNUM");
    c.WORKCODE = ConfigInt(u"WORKCODE");
    c.RING = ConfigInt(u"RING");
    c.WIEGANDMODE = ConfigInt(u"WIEGANDMODE");
    c.WIEGANDHEAD = ConfigInt(u"WIEGANDHEAD");
    c.LOCKDELAY = ConfigInt(u"LOCKDELAY");
    c.FCCHECKALARM = ConfigInt(u"FCCHECKALARM");
    c.MCCHECKALARM = ConfigInt(u"MCCHECKALARM");
    c.AccessGroupTable.Clear();
    c.AccessZoneTable.Clear();
    LoadAccessGroups();
    LoadAccessTimeZones();
    EXPECT_TRUE(pty.Open());
    MapSerialPort(u"COM3", pty.TerminalPath());
    EXPECT_TRUE(g_ioControllerPort.OpenPort(3, CBR_9600, 0, 8, ONESTOPBIT, CSerialPort::kModePlain));
    ScriptDriver::RegisterCommand("look", [this](const std::vector<std::string>&, std::string*) {
        if (look) look(m_looks);
        ++m_looks;
        return true;
    });
    ScriptDriver::RegisterCommand("put", [](const std::vector<std::string>& args, std::string* error) {
        CCPTreeBase* page = ShownPage();
        CWnd* control = page && !args.empty() ? page->GetDlgItem(std::stoi(args[0])) : nullptr;
        if (control == nullptr) {
            *error = "no such control on a shown page";
            return false;
        }
        std::string text;
        for (size_t i = 1; i < args.size(); ++i) text += (i > 1 ? " " : "") + args[i];
        control->SetWindowText(CString(Utf8ToUtf16(text).c_str()));
        return true;
    });
}

RulesTest::~RulesTest() {
    ScriptDriver::RegisterCommand("look", nullptr);
    ScriptDriver::RegisterCommand("put", nullptr);
    g_ioControllerPort.ClosePort();
    MapSerialPort(u"COM3", "");
    g_ConfigDoc.ParseText(u"");
}

void RulesTest::OnPage(UINT node, std::vector<std::string> lines) {
    RunPanelScript(node, std::move(lines), 3);
}

std::optional<CString> RulesTest::StoredConfig(const char16_t* key) {
    CXmlDoc file;
    if (!file.ReadFromFile(GetConfigFilePath())) return std::nullopt;
    CString text;
    bool found = false;
    ReadSectionKey(file, u"CONFIG", key, text, &found);
    if (!found) return std::nullopt;
    return text;
}

ino_t RulesTest::ConfigInode() const {
    struct stat info {};
    stat(root.HostPath("NandFlash/zeta42/config/config.xml").c_str(), &info);
    return info.st_ino;
}

void RulesTest::BlockConfigSave() const {
    const std::string host = root.HostPath("NandFlash/zeta42/config/config.xml");
    std::filesystem::remove(host);
    std::filesystem::create_directories(host + "/keep");
}

void RulesTest::UnblockConfigSave(const std::string& content) const {
    std::filesystem::remove_all(root.HostPath("NandFlash/zeta42/config/config.xml"));
    root.PutFile("NandFlash/zeta42/config/config.xml", content);
}

std::vector<std::u16string> RulesTest::Boxes() const {
    std::vector<std::u16string> texts;
    for (const JournalEntry& entry : JournalRead(kJournalMessageBox, m_journalStart)) texts.push_back(entry.text);
    return texts;
}

std::vector<BYTE> RulesTest::Sent() { return ReadPendingBytes(pty.ControllerFd()); }

CCPTreeBase* RulesTest::ShownPage() {
    CControlPanel* panel = CControlPanel::Open();
    return panel ? panel->ShownPage() : nullptr;
}

CString RulesTest::Shown(int id) {
    CWnd* control = ShownPage()->GetDlgItem(id);
    if (auto* box = dynamic_cast<CJHSelectBox*>(control)) return box->GetCurSelText();
    CString text;
    control->GetWindowText(text);
    return text;
}

int RulesTest::ItemCount(int id) {
    auto* box = dynamic_cast<CJHSelectBox*>(ShownPage()->GetDlgItem(id));
    if (box == nullptr) return -1;
    const int value = box->GetCurSelValue();
    box->SetCurSel(0);
    CString previous = box->GetCurSelText();
    int count = 1;
    for (; count < 100; ++count) {
        box->SetCurSel(static_cast<UINT>(count));
        if (box->GetCurSelText() == previous) break;
        previous = box->GetCurSelText();
    }
    box->SetCurSelByValue(value);
    return count;
}

void RulesTest::TryLeave(UINT node, std::pair<int, std::string> first, std::pair<int, std::string> second,
                         int storedFirst, int storedSecond) {
    look = [this, first, second](int) {
        focusAfterLeave.push_back(ShownPage() ? FocusId() : -1);
        if (ShownPage())
            keptAfterLeave.emplace_back(Utf16ToUtf8(Shown(first.first).GetString()),
                                        Utf16ToUtf8(Shown(second.first).GetString()));
    };
    OnPage(node, {Put(first.first, first.second), Put(second.first, second.second), "answer ok", "key ESC", "look",
                  Put(first.first, std::to_string(storedFirst)), Put(second.first, std::to_string(storedSecond))});
}

int RulesTest::FocusId() {
    CWnd* focus = CWnd::GetFocus();
    return focus ? focus->GetDlgCtrlID() : 0;
}

std::vector<std::string> RulesTest::Rows(const char16_t* sql) {
    std::vector<std::string> rows;
    std::unique_ptr<CSqlStatement> statement(g_pDatabase->Statement(sql));
    while (statement->NextRow()) {
        std::string row;
        for (int column = 0; column < statement->Fields(); ++column) {
            if (column) row += '|';
            row += Utf16ToUtf8(statement->ValueString(column));
        }
        rows.push_back(row);
    }
    return rows;
}
