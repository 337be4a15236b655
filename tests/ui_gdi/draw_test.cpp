// Pixel checks of fills, pens, shapes, clipping and blits on memory DCs.
#include <gtest/gtest.h>

#include "platform/ui/dc.h"
#include "tests/ui_gdi/canvas.h"

namespace {

// Selects a new pen for the scope of a test step.
class ScopedPen {
public:
    ScopedPen(HDC dc, int style, int width, COLORREF color) : m_dc(dc), m_pen(CreatePen(style, width, color)) {
        m_previous = SelectObject(dc, m_pen);
    }
    ~ScopedPen() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_pen);
    }

private:
    HDC m_dc;
    HPEN m_pen;
    HGDIOBJ m_previous;
};

}  // namespace

TEST(Fill, RectanglesCoverLeftToRightMinusOne) {
    Canvas canvas(10, 10);
    CDC* dc = CDC::FromHandle(canvas.dc);
    dc->FillSolidRect(2, 3, 4, 2, kRed);
    EXPECT_EQ(canvas.At(2, 3), kRed);
    EXPECT_EQ(canvas.At(5, 4), kRed);
    EXPECT_EQ(canvas.At(6, 4), kWhite);
    EXPECT_EQ(canvas.At(5, 5), kWhite);
    EXPECT_EQ(canvas.CountColor(kRed), 8);
    EXPECT_EQ(GetBkColor(canvas.dc), kRed);  // FillSolidRect leaves it set

    RECT all{0, 0, 10, 10};
    FillRect(canvas.dc, &all, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_HIGHLIGHT + 1)));
    EXPECT_EQ(canvas.At(9, 9), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(FillRect(canvas.dc, &all, GetStockObject(NULL_BRUSH)), 0);
    EXPECT_EQ(GetSysColor(COLOR_STATIC | 0x40000000), GetSysColor(COLOR_STATIC));
}

TEST(Fill, NewBitmapsAreBlackAndEmptyOnesValid) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP empty = CreateCompatibleBitmap(dc, 0, 0);
    ASSERT_NE(empty, nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 2);
    BITMAP info{};
    ASSERT_EQ(GetObject(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 2, 1), kBlack);
    EXPECT_EQ(GetPixel(dc, 3, 1), CLR_INVALID);
    RECT hidden{0, 0, 1, 1};
    ExcludeClipRect(dc, hidden.left, hidden.top, hidden.right, hidden.bottom);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);  // outside the clip
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 3);
    SelectObject(dc, empty);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_TRUE(BitBlt(dc, 0, 0, 5, 5, dc, 0, 0, SRCCOPY));  // nothing to draw on, nothing breaks
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteObject(empty);
    DeleteDC(dc);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, -1, 5), nullptr);
}

TEST(Pen, LineToLeavesOutItsEndPoint) {
    Canvas canvas(10, 3);
    MoveToEx(canvas.dc, 0, 1, nullptr);
    LineTo(canvas.dc, 5, 1);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(canvas.At(x, 1), kBlack) << x;
    EXPECT_EQ(canvas.At(5, 1), kWhite);
    POINT p{};
    GetCurrentPositionEx(canvas.dc, &p);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(canvas.CountColor(kBlack), 5);
}

TEST(Pen, DashesAndDotsAndTheirGaps) {
    Canvas canvas(40, 4);
    SetBkMode(canvas.dc, TRANSPARENT);
    {
        ScopedPen pen(canvas.dc, PS_DASH, 1, kBlack);
        MoveToEx(canvas.dc, 0, 0, nullptr);
        LineTo(canvas.dc, 30, 0);
    }
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(canvas.At(x, 0), (x < 18 || x >= 24) ? kBlack : kWhite) << x;
    {
        ScopedPen pen(canvas.dc, PS_DOT, 1, kBlack);
        MoveToEx(canvas.dc, 0, 1, nullptr);
        LineTo(canvas.dc, 12, 1);
    }
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(canvas.At(x, 1), (x / 3) % 2 == 0 ? kBlack : kWhite) << x;
    // Opaque background mode paints the gaps in the background colour.
    SetBkMode(canvas.dc, OPAQUE);
    SetBkColor(canvas.dc, kRed);
    {
        ScopedPen pen(canvas.dc, PS_DOT, 1, kBlack);
        MoveToEx(canvas.dc, 0, 2, nullptr);
        LineTo(canvas.dc, 6, 2);
    }
    EXPECT_EQ(canvas.At(2, 2), kBlack);
    EXPECT_EQ(canvas.At(3, 2), kRed);
}

TEST(Pen, RectangleOutlinesAndFills) {
    Canvas canvas(12, 12);
    SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
    Rectangle(canvas.dc, 1, 1, 5, 4);
    EXPECT_EQ(canvas.At(1, 1), kBlack);
    EXPECT_EQ(canvas.At(4, 3), kBlack);
    EXPECT_EQ(canvas.At(5, 3), kWhite);
    EXPECT_EQ(canvas.At(2, 2), kWhite);
    EXPECT_EQ(canvas.CountColor(kBlack), 10);

    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(canvas.dc, red);
    Rectangle(canvas.dc, 6, 6, 10, 10);
    EXPECT_EQ(canvas.At(7, 7), kRed);
    EXPECT_EQ(canvas.At(8, 8), kRed);
    EXPECT_EQ(canvas.At(9, 9), kBlack);
    SelectObject(canvas.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

TEST(Pen, WidePensAreSolidAndCentredUnlessInsideFrame) {
    Canvas canvas(40, 40);
    SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
    {
        // Dotted at width 6 is drawn solid.
        ScopedPen pen(canvas.dc, PS_DOT, 6, kBlack);
        Rectangle(canvas.dc, 10, 10, 30, 30);
    }
    EXPECT_EQ(canvas.At(6, 20), kWhite);
    for (int x = 7; x < 13; ++x)
        EXPECT_EQ(canvas.At(x, 20), kBlack) << x;
    EXPECT_EQ(canvas.At(13, 20), kWhite);
    EXPECT_EQ(canvas.At(31, 20), kBlack);
    EXPECT_EQ(canvas.At(32, 20), kWhite);

    Canvas inside(20, 20);
    SelectObject(inside.dc, GetStockObject(NULL_BRUSH));
    {
        ScopedPen pen(inside.dc, PS_INSIDEFRAME, 3, kBlack);
        Rectangle(inside.dc, 2, 2, 12, 12);
    }
    EXPECT_EQ(inside.Ink(), (RECT{2, 2, 12, 12}));
    EXPECT_EQ(inside.At(4, 6), kBlack);
    EXPECT_EQ(inside.At(5, 6), kWhite);
}

TEST(Pen, RoundRectCornersAreCutSymmetrically) {
    Canvas canvas(20, 16);
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(canvas.dc, red);
    RoundRect(canvas.dc, 0, 0, 20, 16, 8, 8);
    EXPECT_EQ(canvas.At(0, 0), kWhite);
    EXPECT_EQ(canvas.At(10, 0), kBlack);
    EXPECT_EQ(canvas.At(0, 8), kBlack);
    EXPECT_EQ(canvas.At(10, 8), kRed);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x) {
            EXPECT_EQ(canvas.At(x, y), canvas.At(19 - x, y)) << x << "," << y;
            EXPECT_EQ(canvas.At(x, y), canvas.At(x, 15 - y)) << x << "," << y;
        }
    SelectObject(canvas.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

TEST(Shapes, FrameAnd3dRectAndFocusRect) {
    Canvas canvas(10, 10);
    CDC* dc = CDC::FromHandle(canvas.dc);
    dc->Draw3dRect(CRect(1, 1, 6, 6), kRed, kBlue);
    EXPECT_EQ(canvas.At(1, 1), kRed);
    EXPECT_EQ(canvas.At(4, 1), kRed);
    EXPECT_EQ(canvas.At(5, 1), kBlue);  // the top-right corner belongs to the bottom-right colour
    EXPECT_EQ(canvas.At(1, 5), kBlue);
    EXPECT_EQ(canvas.At(5, 5), kBlue);
    EXPECT_EQ(canvas.At(3, 3), kWhite);

    Canvas focus(8, 8);
    RECT r{1, 1, 7, 7};
    DrawFocusRect(focus.dc, &r);
    EXPECT_EQ(focus.At(2, 2), kWhite);
    EXPECT_GT(focus.CountColor(kBlack), 8);
    DrawFocusRect(focus.dc, &r);
    EXPECT_EQ(focus.CountColor(kWhite), 64);

    Canvas frame(6, 6);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT box{0, 0, 6, 6};
    FrameRect(frame.dc, &box, red);
    DeleteObject(red);
    EXPECT_EQ(frame.CountColor(kRed), 20);
}

TEST(Shapes, PushButtonFrame) {
    Canvas canvas(20, 10);
    RECT r{0, 0, 20, 10};
    ASSERT_TRUE(DrawFrameControl(canvas.dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(canvas.At(19, 9), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(canvas.At(1, 1), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(canvas.At(18, 8), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(canvas.At(10, 5), GetSysColor(COLOR_BTNFACE));
}

TEST(Clip, ExcludeIntersectSelectAndClipBox) {
    Canvas canvas(10, 10);
    ExcludeClipRect(canvas.dc, 2, 2, 4, 4);
    RECT all{0, 0, 10, 10};
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(canvas.dc, &all, red);
    EXPECT_EQ(canvas.At(2, 2), kWhite);
    EXPECT_EQ(canvas.At(4, 4), kRed);
    EXPECT_EQ(canvas.CountColor(kWhite), 4);
    RECT box{};
    EXPECT_EQ(GetClipBox(canvas.dc, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{0, 0, 10, 10}));

    IntersectClipRect(canvas.dc, 0, 0, 3, 10);
    GetClipBox(canvas.dc, &box);
    EXPECT_EQ(box, (RECT{0, 0, 3, 10}));
    SelectClipRgn(canvas.dc, nullptr);
    HRGN region = CreateRectRgn(5, 5, 6, 6);
    SelectClipRgn(canvas.dc, region);
    DeleteObject(region);  // the DC keeps its own copy
    HBRUSH blue = CreateSolidBrush(kBlue);
    FillRect(canvas.dc, &all, blue);
    EXPECT_EQ(canvas.CountColor(kBlue), 1);
    EXPECT_EQ(canvas.At(5, 5), kBlue);
    DeleteObject(red);
    DeleteObject(blue);
}

TEST(Clip, SurfaceDCsDrawAtTheirOriginInsideTheirClip) {
    Surface screen(40, 30);
    Region clip(RECT{0, 0, 5, 5});
    clip.Union(RECT{20, 0, 25, 5});
    HDC dc = CreateSurfaceDC(&screen, POINT{10, 20}, clip);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT all{-100, -100, 100, 100};
    FillRect(dc, &all, red);
    DeleteObject(red);
    int painted = 0;
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x)
            painted += screen.At(x, y) == 0xFF0000;
    EXPECT_EQ(painted, 50);
    EXPECT_EQ(screen.At(10, 20), 0xFF0000u);
    EXPECT_EQ(screen.At(14, 24), 0xFF0000u);
    EXPECT_EQ(screen.At(15, 24), 0u);
    EXPECT_EQ(GetPixel(dc, 0, 0), kRed);
    ReleaseSurfaceDC(dc);
    EXPECT_EQ(DCFromHandle(dc), nullptr);
}

TEST(Blit, CopiesClipsAndOverlaps) {
    Canvas source(4, 4);
    SetPixel(source.dc, 0, 0, kRed);
    SetPixel(source.dc, 3, 3, kBlue);
    Canvas target(6, 6, kBlack);
    BitBlt(target.dc, 3, 3, 4, 4, source.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(target.At(3, 3), kRed);
    EXPECT_EQ(target.At(5, 5), kWhite);
    EXPECT_EQ(target.At(2, 2), kBlack);
    // Source pixels beyond the source bitmap leave the target as it is.
    Canvas second(6, 6, kBlack);
    BitBlt(second.dc, 0, 0, 6, 6, source.dc, -2, -2, SRCCOPY);
    EXPECT_EQ(second.At(1, 1), kBlack);
    EXPECT_EQ(second.At(2, 2), kRed);
    EXPECT_EQ(second.At(5, 5), kBlue);
    // Overlapping copy within one bitmap, as a scroll.
    BitBlt(second.dc, 1, 1, 5, 5, second.dc, 2, 2, SRCCOPY);
    EXPECT_EQ(second.At(1, 1), kRed);
    EXPECT_EQ(second.At(4, 4), kBlue);
    // Raster operations without a source.
    BitBlt(second.dc, 0, 0, 1, 1, nullptr, 0, 0, WHITENESS);
    EXPECT_EQ(second.At(0, 0), kWhite);
    BitBlt(second.dc, 0, 0, 1, 1, nullptr, 0, 0, DSTINVERT);
    EXPECT_EQ(second.At(0, 0), kBlack);
}

TEST(Blit, StretchByNearestSample) {
    Canvas source(2, 2);
    SetPixel(source.dc, 0, 0, kRed);
    SetPixel(source.dc, 1, 1, kBlue);
    Canvas target(4, 4, kBlack);
    StretchBlt(target.dc, 0, 0, 4, 4, source.dc, 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(target.CountColor(kRed), 4);
    EXPECT_EQ(target.CountColor(kBlue), 4);
    EXPECT_EQ(target.At(1, 1), kRed);
    EXPECT_EQ(target.At(2, 2), kBlue);
    EXPECT_EQ(target.At(3, 0), kWhite);
    Canvas small(1, 1, kBlack);
    StretchBlt(small.dc, 0, 0, 1, 1, source.dc, 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(small.At(0, 0), kBlue);  // the centre of the source square
}

TEST(Blit, DisplayDCReadsAndWritesTheScreen) {
    Surface screen(320, 240);
    SetScreenSurface(&screen);
    screen.At(5, 6) = 0x00FF00;
    HDC display = CreateDC(u"DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(GetDeviceCaps(display, HORZRES), 320);
    EXPECT_EQ(GetDeviceCaps(display, VERTRES), 240);
    EXPECT_EQ(GetDeviceCaps(display, BITSPIXEL), 32);
    Canvas copy(10, 10);
    BitBlt(copy.dc, 0, 0, 10, 10, display, 0, 0, SRCCOPY);
    EXPECT_EQ(copy.At(5, 6), RGB(0, 255, 0));
    EXPECT_EQ(copy.At(0, 0), kBlack);
    DeleteDC(display);
    EXPECT_EQ(CreateDC(u"PRINTER", nullptr, nullptr, nullptr), nullptr);
    SetScreenSurface(nullptr);
}

TEST(Blit, EightBitGreyThroughAPalette) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = 2;
    info.header.biHeight = 2;  // bottom-up: the first row in memory is the lowest
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    for (int i = 0; i < 256; ++i)
        info.colors[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    const BYTE bits[8] = {10, 20, 0, 0, 30, 40, 0, 0};
    Canvas canvas(4, 4);
    EXPECT_EQ(StretchDIBits(canvas.dc, 0, 0, 2, 2, 0, 0, 2, 2, bits, reinterpret_cast<BITMAPINFO*>(&info),
                            DIB_RGB_COLORS, SRCCOPY),
              2);
    EXPECT_EQ(canvas.At(0, 0), RGB(30, 30, 30));
    EXPECT_EQ(canvas.At(1, 1), RGB(20, 20, 20));
    EXPECT_EQ(canvas.At(2, 2), kWhite);
}

TEST(Objects, DeletedWhileSelectedStaysUsableUntilDeselected) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
    HGDIOBJ original = SelectObject(dc, bitmap);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 3, 0);
    EXPECT_EQ(GetPixel(dc, 1, 0), kRed);
    EXPECT_EQ(SelectObject(dc, oldPen), nullptr);  // the dead pen is not handed back
    EXPECT_EQ(SelectObject(dc, original), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), static_cast<DWORD>(OBJ_PEN));
    DeleteDC(dc);
    EXPECT_FALSE(DeleteDC(dc));
}

TEST(Objects, SaveAndRestoreDC) {
    Canvas canvas(4, 4);
    SetTextColor(canvas.dc, kRed);
    HPEN pen = CreatePen(PS_SOLID, 1, kBlue);
    int saved = SaveDC(canvas.dc);
    SelectObject(canvas.dc, pen);
    SetTextColor(canvas.dc, kBlue);
    ExcludeClipRect(canvas.dc, 0, 0, 4, 4);
    EXPECT_TRUE(RestoreDC(canvas.dc, saved));
    EXPECT_EQ(GetTextColor(canvas.dc), kRed);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SetPixel(canvas.dc, 1, 1, kBlue), kBlue);  // the clip is back too
    EXPECT_FALSE(RestoreDC(canvas.dc, saved));
    DeleteObject(pen);
}

TEST(Objects, ClassLibraryWrappers) {
    Canvas canvas(8, 8);
    CDC* dc = CDC::FromHandle(canvas.dc);
    EXPECT_EQ(dc, CDC::FromHandle(canvas.dc));
    EXPECT_EQ(dc->GetSafeHdc(), canvas.dc);
    CPen pen(PS_SOLID, 1, kRed);
    CPen* old = dc->SelectObject(&pen);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->m_hObject, GetStockObject(BLACK_PEN));
    dc->MoveTo(0, 0);
    dc->LineTo(4, 0);
    dc->SelectObject(old);
    EXPECT_EQ(canvas.At(3, 0), kRed);
    LOGPEN lp{};
    EXPECT_GT(pen.GetLogPen(&lp), 0);
    EXPECT_EQ(lp.lopnColor, kRed);

    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(dc));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(dc, 2, 2));
    CBitmap* previous = memory.SelectObject(&bitmap);
    memory.FillSolidRect(0, 0, 2, 2, kBlue);
    dc->BitBlt(6, 6, 2, 2, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
    EXPECT_EQ(canvas.At(7, 7), kBlue);
    CRgn region;
    region.CreateRectRgn(0, 0, 2, 2);
    EXPECT_TRUE(region.PtInRegion(1, 1));
    EXPECT_EQ(dc->SelectClipRgn(&region), SIMPLEREGION);
}
