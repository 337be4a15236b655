// The rule pages on a factory terminal, as start-up leaves it: the
// automatic-status table made and the access zones loaded into memory. Each
// test drives a page through the real control panel with a script and
// looks at what it showed and stored.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/page_support/panel_fixture.h"
#include "widgets/LDDateCtrl.h"

// The F1 key messages that reach the focused window between Start and
// Stop: whether a page lets F1 go on to its fields.
struct F1Spy {
    static inline HWND field = nullptr;
    static inline WNDPROC fieldProc = nullptr;
    static inline std::vector<UINT> seen;
    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void Start();
    static void Stop();
};

class RulesTest : public PanelTest {
protected:
    RulesTest();
    ~RulesTest() override;

    // Opens the panel at `node` and runs `lines` there; the page is left
    // and the panel closed at the end (three ESC), so what a leave does is
    // part of every run. "check NAME" in the lines runs Check(NAME).
    void RunOnPage(UINT node, std::vector<std::string> lines);
    void Check(const std::string& name, std::function<void()> check) { m_checks[name] = std::move(check); }

    // The shown page's control.
    static CWnd* Control(int id);
    // Whether the focus is on the control or inside it (a picker's field).
    static bool FocusIn(int id);
    // Texts of the message boxes shown since the test began.
    std::vector<std::u16string> Boxes() const;
    // The last of them; "<no box>" when none showed.
    std::u16string LastBox() const;
    // Keys that type the digits.
    static std::vector<std::string> Typing(const std::string& digits);
    // In a picker's hour field: types "HHMM" into the hour and the minute,
    // then goes down to the next control.
    static std::vector<std::string> TypeTime(const std::string& time);
    static std::vector<std::string> Join(std::vector<std::vector<std::string>> parts);
    // The zone pages' time picker of column k (Monday start = 0) and what
    // it shows, "HH:MM".
    static CLDDateCtrl* Picker(int column);
    static std::u16string Shown(int column);

    static std::u16string Text(const char16_t* sql);
    static int Int(const char16_t* sql);
    static void Exec(const char16_t* sql);
    // Uses the Chinese language file from here on.
    void UseChinese();

private:
    std::map<std::string, std::function<void()>> m_checks;
    uint64_t m_firstBox;
};
