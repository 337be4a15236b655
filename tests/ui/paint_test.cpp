// The painting rules the skinned widgets rely on.
#include <gtest/gtest.h>

#include "platform/ui/display.h"
#include "platform/ui/gdi.h"
#include "tests/support/ui_session.h"
#include "tests/ui/recorder.h"

namespace {

Pixel ScreenAt(int x, int y) { return ScreenSurface().At(x, y) & 0xFFFFFF; }

using PaintTest = RecordingTest;

TEST_F(PaintTest, ParentsPaintBeforeChildrenAndChildrenInZOrder) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND first = rec.Create(page, RECT{10, 10, 110, 60});
    HWND second = rec.Create(page, RECT{50, 30, 150, 90});
    HWND inner = rec.Create(first, RECT{5, 5, 20, 20});
    rec.Clear();
    session.Pump();
    // Lower siblings first so that the top-most ends up on top; a child of
    // `first` after `first`.
    EXPECT_EQ(rec.WindowsThatGot(WM_PAINT), (std::vector<HWND>{page, second, first, inner}));
    // Each erase comes from inside its window's paint, before anything else.
    std::vector<Received> both = rec.Of({WM_PAINT, WM_ERASEBKGND});
    ASSERT_EQ(both.size(), 8u);
    for (size_t i = 0; i < both.size(); i += 2) {
        EXPECT_EQ(both[i].message, WM_PAINT);
        EXPECT_EQ(both[i + 1].message, WM_ERASEBKGND);
        EXPECT_EQ(both[i].hwnd, both[i + 1].hwnd);
    }
}

TEST_F(PaintTest, ChildReadsParentPixelsDuringParentErase) {
    // The widget protocol: the page paints its background in its erase, then
    // the widget hides itself, copies the parent's pixels under it, shows
    // itself again; the next cycle must not copy again.
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND widget = rec.Create(page, RECT{100, 100, 140, 120});
    rec.eraseColor[page] = RGB(0, 128, 255);
    COLORREF captured = 0;
    int captures = 0;
    bool needCapture = true;
    rec.handlers[{page, WM_ERASEBKGND}] = [&](WPARAM wParam, LPARAM) -> LRESULT {
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT client{0, 0, 320, 240};
        HBRUSH brush = CreateSolidBrush(RGB(0, 128, 255));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        if (needCapture) {
            needCapture = false;
            ++captures;
            ShowWindow(widget, SW_HIDE);
            InvalidateRect(page, &client, TRUE);
            captured = GetPixel(dc, 110, 105);
            ShowWindow(widget, SW_SHOWNA);
        }
        return TRUE;
    };
    rec.eraseColor[widget] = RGB(255, 0, 0);
    session.Pump();
    EXPECT_EQ(captured, RGB(0, 128, 255));
    EXPECT_EQ(captures, 1);
    // The invalidation made during the erase went to a second cycle of the
    // page, then the widget painted over it.
    EXPECT_EQ(rec.WindowsThatGot(WM_ERASEBKGND), (std::vector<HWND>{page, page, widget}));
    EXPECT_EQ(ScreenAt(110, 105), PixelFromColorRef(RGB(255, 0, 0)));
    EXPECT_EQ(ScreenAt(10, 10), PixelFromColorRef(RGB(0, 128, 255)));
}

TEST_F(PaintTest, ParentDcDoesNotClipChildrenUnlessAsked) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    rec.Create(page, RECT{0, 0, 50, 50});
    session.Pump();
    HDC dc = GetDC(page);
    RECT box{};
    GetClipBox(dc, &box);
    EXPECT_EQ(box.right, 320);
    SetPixel(dc, 10, 10, RGB(1, 2, 3));
    ReleaseDC(page, dc);
    EXPECT_EQ(ScreenAt(10, 10), PixelFromColorRef(RGB(1, 2, 3)));

    SetWindowLongW(page, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN));
    dc = GetDC(page);
    SetPixel(dc, 11, 11, RGB(1, 2, 3));
    ReleaseDC(page, dc);
    EXPECT_NE(ScreenAt(11, 11), PixelFromColorRef(RGB(1, 2, 3)));
}

TEST_F(PaintTest, InvalidatingParentInvalidatesVisibleIntersectingChildrenOnly) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND inside = rec.Create(page, RECT{10, 10, 50, 50});
    HWND outside = rec.Create(page, RECT{200, 200, 250, 230});
    HWND hidden = rec.Create(page, RECT{10, 10, 50, 50}, 0);
    session.Pump();
    rec.Clear();
    RECT area{0, 0, 100, 100};
    InvalidateRect(page, &area, FALSE);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(inside, &update, FALSE));
    EXPECT_FALSE(GetUpdateRect(outside, &update, FALSE));
    EXPECT_FALSE(GetUpdateRect(hidden, &update, FALSE));
    session.Pump();
    EXPECT_EQ(rec.WindowsThatGot(WM_PAINT), (std::vector<HWND>{page, inside}));
    EXPECT_TRUE(rec.Of({WM_ERASEBKGND}).empty()) << "no erase was asked for";
}

TEST_F(PaintTest, EraseRequestSurvivesALaterInvalidateWithoutErase) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 100, 100});
    session.Pump();
    rec.Clear();
    InvalidateRect(page, nullptr, TRUE);
    InvalidateRect(page, nullptr, FALSE);
    session.Pump();
    EXPECT_EQ(rec.WindowsThatGot(WM_ERASEBKGND).size(), 1u);
}

TEST_F(PaintTest, UnchangedMovesAndShowsSendAndInvalidateNothing) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND widget = rec.Create(page, RECT{10, 10, 50, 50});
    session.Pump();
    rec.Clear();
    SetWindowPos(widget, nullptr, 10, 10, 40, 40, SWP_NOZORDER);
    SetWindowPos(widget, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ShowWindow(widget, SW_SHOWNA);
    MoveWindow(widget, 10, 10, 40, 40, TRUE);
    EXPECT_TRUE(rec.log.empty());
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(page, &update, FALSE));
    EXPECT_FALSE(GetUpdateRect(widget, &update, FALSE));

    SetWindowPos(widget, nullptr, 20, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(rec.Of({WM_MOVE}).size(), 1u);
    EXPECT_TRUE(rec.Of({WM_SIZE}).empty());
    EXPECT_TRUE(GetUpdateRect(page, &update, FALSE)) << "the old place is exposed";
    EXPECT_EQ(update.left, 10);
}

TEST_F(PaintTest, HidingExposesWhatIsBelowWithErase) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND widget = rec.Create(page, RECT{30, 40, 70, 60});
    HWND popup = rec.CreateTopLevel(RECT{100, 100, 200, 200});
    session.Pump();
    rec.Clear();
    ShowWindow(widget, SW_HIDE);
    ShowWindow(popup, SW_HIDE);
    session.Pump();
    std::vector<Received> erases = rec.Of({WM_ERASEBKGND});
    ASSERT_EQ(erases.size(), 1u) << "the page is erased once for both holes";
    EXPECT_EQ(erases[0].hwnd, page);
    EXPECT_EQ(rec.Of({WM_SHOWWINDOW}).size(), 2u);
    EXPECT_FALSE(IsWindowVisible(widget));
}

TEST_F(PaintTest, IsWindowVisibleChecksAncestors) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240}, WS_POPUP);
    HWND widget = rec.Create(page, RECT{0, 0, 10, 10});
    EXPECT_FALSE(IsWindowVisible(widget));
    ShowWindow(page, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(widget));
}

TEST_F(PaintTest, UpdateWindowPaintsThatWindowAtOnce) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND widget = rec.Create(page, RECT{0, 0, 10, 10});
    session.Pump();
    rec.Clear();
    InvalidateRect(page, nullptr, TRUE);
    UpdateWindow(widget);
    EXPECT_EQ(rec.WindowsThatGot(WM_PAINT), (std::vector<HWND>{widget}));
    UpdateWindow(widget);
    EXPECT_EQ(rec.WindowsThatGot(WM_PAINT).size(), 1u) << "nothing left to paint";
}

// The parent's DC does not clip its children: a child that painted before
// its parent's pending paint is painted again on top of it.
TEST_F(PaintTest, AChildPaintedBeforeItsParentEndsOnTopOfIt) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND widget = rec.Create(page, RECT{100, 100, 140, 120});
    rec.eraseColor[page] = RGB(0, 128, 255);
    rec.eraseColor[widget] = RGB(255, 0, 0);
    session.Pump();
    InvalidateRect(page, nullptr, TRUE);
    UpdateWindow(widget);
    session.Pump();
    EXPECT_EQ(ScreenAt(110, 105), PixelFromColorRef(RGB(255, 0, 0)));
    EXPECT_EQ(ScreenAt(10, 10), PixelFromColorRef(RGB(0, 128, 255)));
}

// A redraw that paints at once also paints what its own paints invalidate
// (a widget capturing the page under it), parents first, before it returns.
TEST_F(PaintTest, RedrawNowLeavesNothingToPaintAndChildrenOnTop) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND widget = rec.Create(page, RECT{100, 100, 140, 120});
    rec.eraseColor[widget] = RGB(255, 0, 0);
    session.Pump();
    bool needCapture = true;
    rec.handlers[{page, WM_ERASEBKGND}] = [&](WPARAM wParam, LPARAM) -> LRESULT {
        RECT client{0, 0, 320, 240};
        HBRUSH brush = CreateSolidBrush(RGB(0, 128, 255));
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        DeleteObject(brush);
        if (needCapture) {
            needCapture = false;
            ShowWindow(widget, SW_HIDE);
            InvalidateRect(page, &client, TRUE);
            ShowWindow(widget, SW_SHOWNA);
        }
        return TRUE;
    };
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_FALSE(GetUpdateRect(page, nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(widget, nullptr, FALSE));
    EXPECT_EQ(ScreenAt(110, 105), PixelFromColorRef(RGB(255, 0, 0)));
    EXPECT_EQ(ScreenAt(10, 10), PixelFromColorRef(RGB(0, 128, 255)));
}

TEST_F(PaintTest, BeginPaintClipsToTheUpdateRegion) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    rec.eraseColor[page] = RGB(0, 0, 0);
    session.Pump();
    rec.eraseColor[page] = RGB(255, 255, 255);
    RECT area{10, 10, 20, 20};
    InvalidateRect(page, &area, TRUE);
    session.Pump();
    EXPECT_EQ(ScreenAt(15, 15), 0xFFFFFFu);
    EXPECT_EQ(ScreenAt(25, 15), 0u);
}

TEST_F(PaintTest, PopupAboveItsOwnerIsNotPaintedOver) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND popup = rec.CreateTopLevel(RECT{100, 100, 200, 200}, WS_POPUP | WS_VISIBLE, page);
    rec.eraseColor[page] = RGB(0, 0, 255);
    rec.eraseColor[popup] = RGB(0, 255, 0);
    session.Pump();
    EXPECT_EQ(GetWindow(page, GW_HWNDFIRST), popup);
    EXPECT_EQ(GetParent(popup), page);
    InvalidateRect(page, nullptr, TRUE);
    session.Pump();
    EXPECT_EQ(ScreenAt(150, 150), PixelFromColorRef(RGB(0, 255, 0)));
    EXPECT_EQ(ScreenAt(50, 50), PixelFromColorRef(RGB(0, 0, 255)));
    // Raising the owner keeps its pop-up above it.
    SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(page, GW_HWNDFIRST), popup);
}

TEST_F(PaintTest, DefWindowProcErasesWithTheClassBrush) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_HIGHLIGHT + 1));
    wc.lpszClassName = u"Brushed";
    RegisterClassW(&wc);
    CreateWindowExW(0, u"Brushed", u"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    session.Pump();
    EXPECT_EQ(ScreenAt(5, 5), PixelFromColorRef(GetSysColor(COLOR_HIGHLIGHT)));
}

}  // namespace
