// The EDIT control: typing, the notification order, limits, masking and the
// selection, as a parent sees them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/afxwin.h"
#include "platform/ui/gdi.h"
#include "tests/support/ui_session.h"
#include "tests/ui/recorder.h"

namespace {

constexpr int kEditId = 77;

class EditTest : public RecordingTest {
protected:
    HWND MakeEdit(DWORD style = 0, const char16_t* text = u"") {
        page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
        return CreateWindowExW(0, WC_EDIT, text, WS_CHILD | WS_VISIBLE | style, 10, 10, 120, 24, page,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(kEditId)), nullptr, nullptr);
    }
    // The notification codes the parent got, in order.
    std::vector<UINT> Notifications() const {
        std::vector<UINT> codes;
        for (const Received& r : rec.Of({WM_COMMAND})) {
            EXPECT_EQ(LOWORD(r.wParam), kEditId);
            codes.push_back(HIWORD(r.wParam));
        }
        return codes;
    }
    static std::u16string TextOf(HWND hwnd) {
        char16_t buffer[64] = {};
        GetWindowTextW(hwnd, buffer, 64);
        return buffer;
    }
    static std::pair<DWORD, DWORD> Selection(HWND edit) {
        DWORD start = 99;
        DWORD end = 99;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    HWND page = nullptr;
};

TEST_F(EditTest, TypedKeysInsertAtTheCaretAndNotifyUpdateThenChange) {
    HWND edit = MakeEdit();
    rec.Clear();
    SetFocus(edit);
    EXPECT_EQ(Notifications(), (std::vector<UINT>{EN_SETFOCUS}));
    rec.Clear();
    session.Run("key 4");
    session.Run("key 2");
    EXPECT_EQ(TextOf(edit), u"42");
    EXPECT_EQ(Notifications(), (std::vector<UINT>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
    rec.Clear();
    session.Run("key BACK");
    EXPECT_EQ(TextOf(edit), u"4");
    EXPECT_EQ(Notifications(), (std::vector<UINT>{EN_UPDATE, EN_CHANGE}));
    session.Run("key BACK");
    rec.Clear();
    session.Run("key BACK");
    EXPECT_EQ(TextOf(edit), u"");
    EXPECT_TRUE(Notifications().empty()) << "Backspace on an empty field changes nothing";
    rec.Clear();
    SetFocus(page);
    EXPECT_EQ(Notifications(), (std::vector<UINT>{EN_KILLFOCUS}));
}

TEST_F(EditTest, ProgrammaticTextNotifiesTooAndIgnoresTheLimit) {
    HWND edit = MakeEdit();
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    rec.Clear();
    SetWindowTextW(edit, u"123456");
    EXPECT_EQ(TextOf(edit), u"123456");
    EXPECT_EQ(Notifications(), (std::vector<UINT>{EN_UPDATE, EN_CHANGE}));
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 3);
}

TEST_F(EditTest, TypingStopsAtTheLimitWithMaxText) {
    HWND edit = MakeEdit();
    SendMessageW(edit, EM_LIMITTEXT, 2, 0);
    SetFocus(edit);
    session.Run("key 1");
    session.Run("key 2");
    rec.Clear();
    session.Run("key 3");
    EXPECT_EQ(TextOf(edit), u"12");
    EXPECT_EQ(Notifications(), (std::vector<UINT>{EN_MAXTEXT}));
    // A selected character makes room for the typed one.
    SendMessageW(edit, EM_SETSEL, 0, 1);
    session.Run("key 9");
    EXPECT_EQ(TextOf(edit), u"92");
}

TEST_F(EditTest, SelectionReplacedByTypingAndBackspace) {
    HWND edit = MakeEdit(0, u"abcdef");
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 1, 3);
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{1, 3}));
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(1, 3));
    SendMessageW(edit, WM_CHAR, u'X', 0);
    EXPECT_EQ(TextOf(edit), u"aXdef");
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{2, 2}));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{0, 5}));
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{5, 5})) << "start -1 drops the selection";
    SendMessageW(edit, EM_SETSEL, 2, 4);
    SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(TextOf(edit), u"aXf");
    SendMessageW(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u"--"));
    EXPECT_EQ(TextOf(edit), u"aX--f");
    SetWindowTextW(edit, u"new");
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{0, 0}));
}

TEST_F(EditTest, NumberReadOnlyAndCaseStyles) {
    HWND edit = MakeEdit(ES_NUMBER | ES_UPPERCASE);
    SendMessageW(edit, WM_CHAR, u'a', 0);
    SendMessageW(edit, WM_CHAR, u'7', 0);
    EXPECT_EQ(TextOf(edit), u"7") << "a digits-only field refuses letters";
    SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
    rec.Clear();
    SendMessageW(edit, WM_CHAR, u'8', 0);
    SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(TextOf(edit), u"7");
    EXPECT_TRUE(Notifications().empty());
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
    HWND upper = CreateWindowExW(0, WC_EDIT, u"", WS_CHILD | ES_UPPERCASE, 0, 0, 50, 20, page, nullptr, nullptr, nullptr);
    SendMessageW(upper, WM_CHAR, u'q', 0);
    EXPECT_EQ(TextOf(upper), u"Q");
}

TEST_F(EditTest, DialogCodeAsksForCharactersArrowsAndSelection) {
    HWND edit = MakeEdit();
    LRESULT code = SendMessageW(edit, WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(code & DLGC_WANTCHARS);
    EXPECT_TRUE(code & DLGC_HASSETSEL);
    EXPECT_TRUE(code & DLGC_WANTARROWS);
}

// Paints the edit into a memory picture and returns its pixels.
std::vector<COLORREF> Picture(HWND edit) {
    HDC screen = GetDC(edit);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 120, 24);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(edit, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
    SendMessageW(edit, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 120; ++x) pixels.push_back(GetPixel(memory, x, y));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(edit, screen);
    return pixels;
}

TEST_F(EditTest, PasswordFieldShowsOnlyTheMaskButKeepsTheText) {
    HWND secret = MakeEdit(ES_PASSWORD, u"abc");
    HWND stars = CreateWindowExW(0, WC_EDIT, u"***", WS_CHILD | WS_VISIBLE, 10, 50, 120, 24, page, nullptr, nullptr,
                                 nullptr);
    HWND plain = CreateWindowExW(0, WC_EDIT, u"abc", WS_CHILD | WS_VISIBLE, 10, 90, 120, 24, page, nullptr, nullptr,
                                 nullptr);
    EXPECT_EQ(TextOf(secret), u"abc");
    EXPECT_EQ(SendMessageW(secret, EM_GETPASSWORDCHAR, 0, 0), u'*');
    EXPECT_EQ(Picture(secret), Picture(stars));
    EXPECT_NE(Picture(secret), Picture(plain));
    SendMessageW(secret, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(Picture(secret), Picture(plain)) << "no password character shows the text";
    EXPECT_FALSE(GetWindowLongW(secret, GWL_STYLE) & ES_PASSWORD);
}

TEST_F(EditTest, CaretIsDrawnOnlyWhileFocused) {
    HWND edit = MakeEdit(0, u"");
    std::vector<COLORREF> blank = Picture(edit);
    SetFocus(edit);
    std::vector<COLORREF> focused = Picture(edit);
    EXPECT_NE(blank, focused);
    HideCaret(edit);
    EXPECT_EQ(Picture(edit), blank) << "a hidden caret is not drawn";
    ShowCaret(edit);
    SetFocus(page);
    EXPECT_EQ(Picture(edit), blank);
}

class ChangeCounter : public CEdit {
public:
    BOOL OnReflectedCommand(UINT code) override {
        if (code == EN_CHANGE) ++changes;
        return code == EN_CHANGE;  // the parent does not see it
    }
    int changes = 0;
};

TEST_F(EditTest, ClassLibraryEditSeesItsOwnChangesFirst) {
    // Reflection is the parent object's doing.
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, u"Recorder", u"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr));
    ChangeCounter edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &parent, kEditId));
    edit.LimitText(4);
    edit.SetWindowText(u"abcd");
    edit.SetSel(1, 2);
    int start = 0;
    int end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 2);
    edit.ReplaceSel(u"XY");
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, CString(u"aXcd")) << "the limit cuts what a program inserts";
    EXPECT_EQ(edit.changes, 2);
    std::vector<UINT> codes = Notifications();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<UINT>(EN_CHANGE)), 0);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<UINT>(EN_MAXTEXT)), 1);
}

}  // namespace
