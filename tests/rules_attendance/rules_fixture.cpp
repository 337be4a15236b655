#include "tests/rules_attendance/rules_fixture.h"

#include "core/AccessTables.h"
#include "core/DatabaseOpen.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "platform/base/debug.h"

RulesTest::RulesTest() : m_firstBox(JournalLastSequence()) {
    EnsureAutoFnTable();
    g_MachineConfig.AccessZoneTable.Clear();
    LoadAccessTimeZones();
    ScriptDriver::RegisterCommand("check", [this](const std::vector<std::string>& args, std::string* error) {
        auto found = m_checks.find(args.at(0));
        if (found == m_checks.end()) {
            *error = "no check " + args.at(0);
            return false;
        }
        found->second();
        return true;
    });
}

RulesTest::~RulesTest() {
    ScriptDriver::RegisterCommand("check", nullptr);
    g_MachineConfig.AccessZoneTable.Clear();
}

void RulesTest::RunOnPage(UINT node, std::vector<std::string> lines) {
    RunPanelScript(node, std::move(lines), 3);
    EXPECT_EQ(CControlPanel::Open(), nullptr) << "the panel did not close";
}

CWnd* RulesTest::Control(int id) {
    CControlPanel* panel = CControlPanel::Open();
    if (panel == nullptr || panel->ShownPage() == nullptr) return nullptr;
    return panel->ShownPage()->GetDlgItem(id);
}

bool RulesTest::FocusIn(int id) {
    CWnd* control = Control(id);
    if (control == nullptr) return false;
    HWND focus = ::GetFocus();
    return focus == control->m_hWnd || ::IsChild(control->m_hWnd, focus);
}

std::vector<std::u16string> RulesTest::Boxes() const {
    std::vector<std::u16string> texts;
    for (const JournalEntry& entry : JournalRead(kJournalMessageBox, m_firstBox)) texts.push_back(entry.text);
    return texts;
}

std::u16string RulesTest::LastBox() const {
    const std::vector<std::u16string> texts = Boxes();
    return texts.empty() ? u"<no box>" : texts.back();
}

std::vector<std::string> RulesTest::Typing(const std::string& digits) {
    std::vector<std::string> keys;
    for (char digit : digits) keys.push_back(std::string("key ") + digit);
    return keys;
}

std::vector<std::string> RulesTest::TypeTime(const std::string& time) {
    return Join({Typing(time.substr(0, 2)), {"key RIGHT"}, Typing(time.substr(2, 2)), {"key LEFT", "key DOWN"}});
}

std::vector<std::string> RulesTest::Join(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> lines;
    for (auto& part : parts) lines.insert(lines.end(), part.begin(), part.end());
    return lines;
}

CLDDateCtrl* RulesTest::Picker(int column) { return dynamic_cast<CLDDateCtrl*>(Control(1124 + column)); }

std::u16string RulesTest::Shown(int column) {
    CString text;
    text.Format(u"%02d:%02d", Picker(column)->GetHour(), Picker(column)->GetMinute());
    return text.str();
}

std::u16string RulesTest::Text(const char16_t* sql) {
    StatementPtr statement(g_pDatabase->Statement(sql));
    return statement->NextRow() ? std::u16string(statement->ValueString(0)) : u"<no row>";
}

int RulesTest::Int(const char16_t* sql) { return QueryInt(*g_pDatabase, sql); }

void RulesTest::Exec(const char16_t* sql) { ASSERT_TRUE(g_pDatabase->DirectStatement(sql)); }

void RulesTest::UseChinese() {
    g_MachineConfig.LanguageName = u"Chinese";
    ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
}

LRESULT F1Spy::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && wParam == VK_F1) seen.push_back(message);
    return CallWindowProcW(fieldProc, hwnd, message, wParam, lParam);
}

void F1Spy::Start() {
    seen.clear();
    field = ::GetFocus();
    fieldProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(field, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
}

void F1Spy::Stop() { SetWindowLongPtrW(field, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(fieldProc)); }
