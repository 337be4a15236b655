#include "tests/page_support/panel_fixture.h"

#include <filesystem>
#include <map>

#include "core/AppMessageBox.h"
#include "core/DatabaseOpen.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/RegisteredMessages.h"
#include "core/SystemLocks.h"
#include "data/DataGlobals.h"
#include "data/DataStoreServices.h"
#include "main/TaskBarHint.h"
#include "panel/PageRegistry.h"
#include "panel/PanelAccess.h"
#include "platform/ui/display.h"
#include "platform/ui/script.h"
#include "tests/page_support/message_box_areas.h"
#include "widgets/WidgetRules.h"

namespace {

std::vector<DialogItemTemplate> PageItems() {
    std::vector<DialogItemTemplate> items{{1100, u"STATIC", u"", 0, 10, 8, 300, 20}};
    for (int i = 0; i < CTestPage::kFields; ++i)
        items.push_back({CTestPage::kFirstField + i, u"EDIT", u"", WS_TABSTOP | WS_BORDER, 100, 40 + 30 * i, 150, 22});
    return items;
}

const DialogTemplate kPageTemplate{CTestPage::kTemplate, WS_CHILD, 0, 0, 320, 194, u"", PageItems()};
const DialogTemplateEntry kPageEntry(kPageTemplate);
const DialogTemplate kMainTemplate{CTestMainWindow::kTemplate, WS_POPUP, 0, 0, 320, 240, u"", {}};
const DialogTemplateEntry kMainEntry(kMainTemplate);

// The pages the test pages replaced, put back when the test ends.
std::map<UINT, ControlPanelPageFactory>& ReplacedPages() {
    static std::map<UINT, ControlPanelPageFactory> pages;
    return pages;
}

// Checks that no message box shows.
const char kNoBoxCommand[] = "nobox";

// A line that gives the terminal a key, a touch, a finger or a card: what
// a box showing then would take from the page.
bool IsInput(const std::string& line) {
    const std::string command = line.substr(0, line.find(' '));
    for (const char* input : {"key", "keydown", "keyup", "tap", "tapon", "finger", "lift", "card", "goto"})
        if (command == input) return true;
    return false;
}

}  // namespace

CTestPage::CTestPage() : CCPTreeBase(kTemplate, nullptr) {}

BOOL CTestPage::OnInitDialog() {
    CDialog::OnInitDialog();
    m_background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
    m_label.SubclassDlgItem(1100, this);
    m_label.SetWindowText(u"A test page");
    for (int i = 0; i < kFields; ++i) m_fields[i].SubclassDlgItem(kFirstField + i, this);
    return FALSE;
}

BOOL CTestPage::OnEraseBkgnd(CDC* dc) {
    m_background.Draw(*dc, 0, 0);
    m_label.CaptureBackground(this, dc);
    return TRUE;
}

// A return keeps what the page holds and only puts the focus back.
BOOL CTestPage::EnterPage() {
    if (m_bEnteredFromMenu) {
        ++fullEntries;
        m_label.SetNeedCapture(TRUE);
    } else {
        ++returns;
        m_bEnteredFromMenu = 1;
    }
    m_fields[0].SetFocus();
    SendTaskBarHint(u"ESC/Back  UP/DOWN/Field", 1);
    return CCPTreeBase::EnterPage();
}

void CTestPage::TakeUser(UINT callerNode, CCPTreeBase* callerPage) {
    m_callerNode = callerNode;
    m_callerPage = callerPage;
}

BOOL CTestPage::LeavePage() {
    if (m_callerNode != 0 && !m_bLocked) {
        m_callerPage->m_bEnteredFromMenu = 0;
        CControlPanel::Open()->GotoNode(m_callerNode, FALSE);
        m_callerNode = 0;
        m_bHidden = 1;
        ShowWindow(SW_HIDE);
        return TRUE;
    }
    const BOOL left = CCPTreeBase::LeavePage();
    if (left) ++leaves;
    return left;
}

CTestMainWindow::CTestMainWindow() : CDialog(kTemplate) {}

BOOL CTestMainWindow::OnInitDialog() {
    CDialog::OnInitDialog();
    m_taskBar.Create(this, g_MachineConfig.SkinDir.Get());
    m_taskBar.SetHint(u"VELTO", 0);
    return TRUE;
}

BOOL CTestMainWindow::OnEraseBkgnd(CDC* dc) {
    CxImage background(SkinPath(u"BackGround.bmp"), CXIMAGE_FORMAT_BMP);
    background.Draw(*dc, 0, 0);
    return TRUE;
}

BOOL CTestMainWindow::PreTranslateMessage(MSG* msg) {
    return TakeMenuKey(this, *msg) || CDialog::PreTranslateMessage(msg);
}

LRESULT CTestMainWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TASKBARHINT) {
        const CString* text = reinterpret_cast<const CString*>(wParam);
        hints.emplace_back(text ? *text : CString(), static_cast<int>(lParam));
        return ApplyTaskBarHint(m_taskBar, text, static_cast<int>(lParam));
    }
    if (message == WM_CONTROLPANEL) {
        ++panelRequests;
        RunControlPanel(this, static_cast<UINT>(wParam));
        return 1;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

PanelTest::PanelTest() {
    std::filesystem::copy(QUILLON_FACTORY_IMAGE_DIR, root.Host(), std::filesystem::copy_options::recursive);
    SetDeviceRoot(root.Host());
    InitSystemLocks();
    g_MachineConfig.SkinDir = u"\\NandFlash\\zeta42\\Skin\\flower\\";
    g_MachineConfig.PANELCOLOR = 0xFFC99C;
    g_MachineConfig.MachineID = u"1";
    g_MachineConfig.LanguageName = u"English";
    EXPECT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
    // The data store says its failures in the language file's words, as
    // start-up connects it.
    g_DataStoreServices.langText = [](LPCWSTR section, LPCWSTR key, LPCWSTR defaultText) {
        CString text;
        GetLangText(section, key, defaultText, text);
        return text;
    };
    g_DataStoreServices.langFormat = [](LPCWSTR section, LPCWSTR key, LPCWSTR defaultFormat) {
        CString format;
        GetLangFormat(section, key, defaultFormat, format);
        return format;
    };
    EXPECT_EQ(OpenDatabase(), 1);
    FindMessageBoxTextAreas();
    EXPECT_TRUE(main.Create(CTestMainWindow::kTemplate));
    main.ShowWindow(SW_SHOW);
    main.SetFocus();
    app.m_pMainWnd = &main;
    ScriptDriver::RegisterCommand("note", [this](const std::vector<std::string>&, std::string*) {
        Note note;
        if (CControlPanel* panel = CControlPanel::Open()) {
            note = {true, panel->CurrentNode(), panel->SelectedNode(), panel->ShownPage(),
                    panel->Title().GetTitle(), g_nControlPanelState};
        }
        notes.push_back(note);
        return true;
    });
    ScriptDriver::RegisterCommand("golden", [this](const std::vector<std::string>& args, std::string*) {
        golden = MatchesGolden(ScreenSurface(), args.at(0));
        return true;
    });
    ScriptDriver::RegisterCommand(kNoBoxCommand, [](const std::vector<std::string>&, std::string* error) {
        const std::string box = ShowingMessageBoxText();
        if (box.empty()) return true;
        ADD_FAILURE() << "a message box nobody expected showed: \"" << box << '"';
        *error = "stopped at the message box \"" + box + '"';
        return false;
    });
    session.Pump();
}

PanelTest::~PanelTest() {
    // An answer no box took must not answer the next test's box.
    while (TakeMessageBoxAnswer(0) != 0) {
    }
    ScriptDriver::RegisterCommand("note", nullptr);
    ScriptDriver::RegisterCommand("golden", nullptr);
    ScriptDriver::RegisterCommand(kNoBoxCommand, nullptr);
    for (auto& [node, page] : ReplacedPages()) SetControlPanelPage(node, std::move(page));
    ReplacedPages().clear();
    app.m_pMainWnd = nullptr;
    if (main.GetSafeHwnd()) main.DestroyWindow();
    CloseDatabase();
    g_DataStoreServices.langText = nullptr;
    g_DataStoreServices.langFormat = nullptr;
    g_LangDoc.ParseText(u"");
}

void PanelTest::RunPanelScript(unsigned node, std::vector<std::string> lines, int escapes) {
    lines.insert(lines.end(), static_cast<size_t>(escapes), "key ESC");
    std::vector<std::string> guarded;
    for (std::string& line : lines) {
        if (IsInput(line)) guarded.push_back(kNoBoxCommand);
        guarded.push_back(std::move(line));
    }
    guarded.insert(guarded.end(), {kNoBoxCommand, "quit"});
    session.RunWhenIdle(std::move(guarded));
    session.Run("goto " + std::to_string(node));
}

void PanelTest::AddTestPage(UINT node) {
    if (!ReplacedPages().count(node)) {
        const ControlPanelPageFactory* page = FindControlPanelPage(node);
        ReplacedPages()[node] = page ? *page : ControlPanelPageFactory();
    }
    RegisterControlPanelPage<CTestPage>(node);
}

void PanelTest::AddUser(const char16_t* id, const char16_t* password, int admin) {
    CString sql;
    sql.Format(u"INSERT INTO Userinfo VALUES ('%s','','','0','%s',0,6,'',%d,'',0,0)", id, password, admin);
    ASSERT_TRUE(g_pDatabase->DirectStatement(sql));
}
