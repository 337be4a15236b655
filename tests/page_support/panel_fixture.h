// The control panel on a terminal of its own: the factory image as device
// root with its database open, a main window with the bottom task bar that
// opens the panel as the terminal's does, and test pages derived from
// CCPTreeBase registered for menu nodes.
#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <utility>
#include <vector>

#include "main/BottomTaskBar.h"
#include "panel/ControlPanel.h"
#include "platform/base/utf.h"
#include "platform/ui/CEdit.h"
#include "tests/support/device_root.h"
#include "tests/support/golden.h"
#include "tests/support/ui_session.h"
#include "widgets/FontStatic.h"

// Texts read as UTF-8 in test failures.
inline void PrintTo(const CString& text, std::ostream* out) {
    *out << '"' << Utf16ToUtf8(std::u16string_view(text.GetString(), static_cast<size_t>(text.GetLength()))) << '"';
}

// A page with three fields, which counts its visits.
class CTestPage : public CCPTreeBase {
public:
    static constexpr UINT kTemplate = 9401;
    static constexpr int kFirstField = 1101;
    static constexpr int kFields = 3;

    CTestPage();

    BOOL EnterPage() override;
    BOOL LeavePage() override;

    // Takes the user from another page, which is returned to on leaving.
    void TakeUser(UINT callerNode, CCPTreeBase* callerPage);
    CEdit& Field(int i) { return m_fields[i]; }

    int fullEntries = 0;  // entered from the menu or by a forward jump
    int returns = 0;      // entered by a page handing the user back
    int leaves = 0;       // leaves that went through the base

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;

private:
    CEdit m_fields[kFields];
    CFontStatic m_label;
    UINT m_callerNode = 0;
    CCPTreeBase* m_callerPage = nullptr;
    CxImage m_background;
};

// The main window's part in the panel: the menu key, "ControlPanel" and
// the task-bar hints.
class CTestMainWindow : public CDialog {
public:
    static constexpr UINT kTemplate = 9402;
    CTestMainWindow();

    BOOL PreTranslateMessage(MSG* msg) override;
    std::vector<std::pair<CString, int>> hints;
    int panelRequests = 0;  // "ControlPanel" received

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CBottomTaskBar m_taskBar;
};

class PanelTest : public ::testing::Test {
protected:
    // What the open panel showed when a script said "note".
    struct Note {
        bool open = false;
        UINT current = 0;
        UINT selected = 0;
        CCPTreeBase* page = nullptr;
        CString title;
        int state = 0;
    };

    PanelTest();
    ~PanelTest() override;

    // A test page for the node (before the panel opens).
    static void AddTestPage(UINT node);
    static CTestPage* TestPage(CControlPanel& panel, UINT node) {
        return static_cast<CTestPage*>(panel.PageOf(node));
    }
    void AddUser(const char16_t* id, const char16_t* password, int admin);
    // Runs `lines` in the panel opened at `node`, then `escapes` ESC presses
    // and the end of the script. A box the script means to meet is answered
    // ("answer", before it shows or while it does); any other box stops the
    // run at the next key, touch, finger or card, or at the script's end,
    // and fails the test with its text, instead of taking keys meant for
    // the page or waiting for an answer that never comes.
    void RunPanelScript(unsigned node, std::vector<std::string> lines, int escapes);

    ScopedDeviceRoot root;
    UiSession session;
    CWinApp app;
    CTestMainWindow main;
    std::vector<Note> notes;
    ::testing::AssertionResult golden = ::testing::AssertionFailure() << "not checked";
};
