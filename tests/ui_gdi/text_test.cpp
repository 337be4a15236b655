// Fonts, text metrics and DrawText layout, checked on rendered pixels.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/device_root.h"
#include "tests/support/pipe_reader.h"
#include "tests/ui_gdi/canvas.h"

namespace {

// A canvas with a font selected and black text on white, transparent mode.
class TextCanvas : public Canvas {
public:
    TextCanvas(int width, int height, LPCWSTR face = u"WenQuanYi Micro Hei", int fontHeight = -16,
               int weight = FW_NORMAL)
        : Canvas(width, height) {
        font = CreateFont(fontHeight, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0x20, face);
        oldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
    }
    ~TextCanvas() {
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }

    int Draw(std::u16string_view text, RECT rect, UINT format) {
        return DrawText(dc, text.data(), static_cast<int>(text.size()), &rect, format);
    }
    RECT Measure(std::u16string_view text, RECT rect, UINT format) {
        DrawText(dc, text.data(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
        return rect;
    }
    int Width(std::u16string_view text) {
        SIZE size{};
        GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    int LineHeight() {
        TEXTMETRIC tm{};
        GetTextMetrics(dc, &tm);
        return tm.tmHeight;
    }

    HFONT font;
    HGDIOBJ oldFont;
};

}  // namespace

TEST(Font, HeightsFollowTheCellOrCharacterRule) {
    TextCanvas cell(10, 10, u"tohamo", 17);
    TEXTMETRIC tm{};
    ASSERT_TRUE(GetTextMetrics(cell.dc, &tm));
    EXPECT_EQ(tm.tmHeight, 17);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, 17);

    TextCanvas character(10, 10, u"Microsoft JhengHei", -16);
    GetTextMetrics(character.dc, &tm);
    EXPECT_GE(tm.tmHeight, 16);
    EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 16);
    EXPECT_GT(tm.tmAveCharWidth, 0);
}

TEST(Font, ExtentsAddUpAndControlCharactersAreEmpty) {
    TextCanvas canvas(10, 10);
    EXPECT_EQ(canvas.Width(u"ab"), canvas.Width(u"a") + canvas.Width(u"b"));
    EXPECT_GT(canvas.Width(u"W"), canvas.Width(u"i"));
    EXPECT_EQ(canvas.Width(u"a\r\nb"), canvas.Width(u"ab"));
    EXPECT_EQ(canvas.Width(u""), 0);
}

TEST(Font, ChineseRendersAndMissingGlyphsFallBackToTheCjkFace) {
    // A Latin face lacks the ideographs: they come from the CJK face at the
    // same size, so their shapes match the CJK face's own rendering.
    TextCanvas latin(40, 30, u"DejaVu Sans", -16);
    TextCanvas cjk(40, 30, u"WenQuanYi Micro Hei", -16);
    latin.Draw(u"中", RECT{0, 0, 40, 30}, DT_SINGLELINE);
    cjk.Draw(u"中", RECT{0, 0, 40, 30}, DT_SINGLELINE);
    RECT a = latin.Ink(), b = cjk.Ink();
    ASSERT_FALSE(IsRectEmpty(&a));
    ASSERT_EQ(a.right - a.left, b.right - b.left);
    ASSERT_EQ(a.bottom - a.top, b.bottom - b.top);
    for (int y = 0; y < a.bottom - a.top; ++y)
        for (int x = 0; x < a.right - a.left; ++x)
            ASSERT_EQ(latin.At(a.left + x, a.top + y), cjk.At(b.left + x, b.top + y));
    EXPECT_EQ(cjk.Width(u"中文"), 2 * cjk.Width(u"中"));
    EXPECT_GE(cjk.Width(u"中"), 14);
}

TEST(Font, RenderingIsDeterministicAndBoldIsHeavier) {
    TextCanvas first(80, 20), second(80, 20);
    first.Draw(u"Quillon 考勤", RECT{0, 0, 80, 20}, 0);
    second.Draw(u"Quillon 考勤", RECT{0, 0, 80, 20}, 0);
    EXPECT_TRUE(first.SameAs(second));

    TextCanvas bold(80, 20, u"WenQuanYi Micro Hei", -16, FW_HEAVY);
    bold.Draw(u"Quillon", RECT{0, 0, 80, 20}, 0);
    TextCanvas regular(80, 20);
    regular.Draw(u"Quillon", RECT{0, 0, 80, 20}, 0);
    EXPECT_LT(bold.CountColor(kWhite), regular.CountColor(kWhite));
}

// Ideographs break anywhere between them, but closing punctuation stays
// on the line of the character before it.
TEST(DrawText, WordBreakSplitsChineseButNotBeforeClosingPunctuation) {
    TextCanvas canvas(10, 10);
    int h = canvas.LineHeight();
    RECT two = canvas.Measure(u"指纹登记", RECT{0, 0, canvas.Width(u"指纹登"), 0}, DT_WORDBREAK);
    EXPECT_EQ(two.bottom, 2 * h);
    EXPECT_EQ(two.right, canvas.Width(u"指纹登"));
    RECT kept = canvas.Measure(u"指纹。", RECT{0, 0, canvas.Width(u"指纹"), 0}, DT_WORDBREAK);
    EXPECT_EQ(kept.bottom, 2 * h);
    EXPECT_EQ(kept.right, std::max(canvas.Width(u"指"), canvas.Width(u"纹。")));
}

TEST(DrawText, CalcRectMeasuresLinesAndWraps) {
    TextCanvas canvas(10, 10);
    int h = canvas.LineHeight();
    RECT one = canvas.Measure(u"Hello", RECT{5, 7, 500, 500}, DT_SINGLELINE);
    EXPECT_EQ(one, (RECT{5, 7, 5 + canvas.Width(u"Hello"), 7 + h}));

    int narrow = canvas.Width(u"aaa bbb") - 1;
    RECT wrapped = canvas.Measure(u"aaa bbb", RECT{0, 0, narrow, 0}, DT_WORDBREAK);
    EXPECT_EQ(wrapped.bottom, 2 * h);
    EXPECT_EQ(wrapped.right, std::max(canvas.Width(u"aaa"), canvas.Width(u"bbb")));

    // A word wider than the line is never split.
    RECT word = canvas.Measure(u"abcdefgh", RECT{0, 0, 10, 0}, DT_WORDBREAK);
    EXPECT_EQ(word.bottom, h);
    EXPECT_EQ(word.right, canvas.Width(u"abcdefgh"));

    EXPECT_EQ(canvas.Measure(u"a\r\nb", RECT{0, 0, 100, 0}, 0).bottom, 2 * h);
    EXPECT_EQ(canvas.Measure(u"a\rb\nc", RECT{0, 0, 100, 0}, 0).bottom, 3 * h);
    EXPECT_EQ(canvas.Measure(u"a\r\nb", RECT{0, 0, 100, 0}, DT_SINGLELINE).bottom, h);
    EXPECT_EQ(canvas.Measure(u"a\r\nb", RECT{0, 0, 100, 0}, DT_SINGLELINE).right, canvas.Width(u"ab"));
}

TEST(DrawText, VerticalCentringOnlyWithSingleLine) {
    TextCanvas multi(60, 100), single(60, 100);
    int h = multi.LineHeight();
    multi.Draw(u"X", RECT{0, 0, 60, 100}, DT_VCENTER | DT_BOTTOM);
    EXPECT_LT(multi.Ink().bottom, h + 1);
    int offset = single.Draw(u"X", RECT{0, 0, 60, 100}, DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(offset, (100 - h) / 2 + h);
    RECT ink = single.Ink();
    EXPECT_GE(ink.top, (100 - h) / 2);
    EXPECT_LE(ink.bottom, (100 - h) / 2 + h);

    TextCanvas bottom(60, 100);
    bottom.Draw(u"X", RECT{0, 0, 60, 100}, DT_BOTTOM | DT_SINGLELINE);
    EXPECT_GE(bottom.Ink().top, 100 - h);
}

TEST(DrawText, HorizontalAlignment) {
    TextCanvas left(100, 20), centre(100, 20), right(100, 20);
    int w = left.Width(u"ab");
    left.Draw(u"ab", RECT{0, 0, 100, 20}, DT_LEFT);
    centre.Draw(u"ab", RECT{0, 0, 100, 20}, DT_CENTER);
    right.Draw(u"ab", RECT{0, 0, 100, 20}, DT_RIGHT);
    // The same ink, moved by the alignment offset.
    EXPECT_EQ(centre.Ink().left - left.Ink().left, (100 - w) / 2);
    EXPECT_EQ(right.Ink().left - left.Ink().left, 100 - w);
}

TEST(DrawText, EndEllipsisShortensEachLine) {
    TextCanvas canvas(200, 40), expected(200, 40);
    std::u16string text = u"Attendance records";
    int width = canvas.Width(text) / 2;
    canvas.Draw(text, RECT{0, 0, width, 40}, DT_SINGLELINE | DT_END_ELLIPSIS);
    size_t keep = text.size();
    while (canvas.Width(text.substr(0, keep) + u"...") > width)
        --keep;
    expected.Draw(text.substr(0, keep) + u"...", RECT{0, 0, width, 40}, DT_SINGLELINE);
    EXPECT_TRUE(canvas.SameAs(expected));
    EXPECT_LE(canvas.Ink().right, width);

    TextCanvas fits(200, 40), plain(200, 40);
    fits.Draw(u"ok", RECT{0, 0, 200, 40}, DT_END_ELLIPSIS);
    plain.Draw(u"ok", RECT{0, 0, 200, 40}, 0);
    EXPECT_TRUE(fits.SameAs(plain));
}

// A stored text may be thousands of characters long: it is shortened as
// its start would be.
TEST(DrawText, EndEllipsisOfAVeryLongLineIsThatOfItsStart) {
    TextCanvas longLine(200, 40), startOnly(200, 40);
    const std::u16string start = u"Attendance records of the head office";
    longLine.Draw(start + std::u16string(32000, u'n'), RECT{0, 0, 120, 40}, DT_SINGLELINE | DT_END_ELLIPSIS);
    startOnly.Draw(start + u"n", RECT{0, 0, 120, 40}, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_TRUE(longLine.SameAs(startOnly));
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip) {
    TextCanvas clipped(100, 30), free(100, 30);
    clipped.Draw(u"WWWWWW", RECT{0, 0, 20, 30}, DT_SINGLELINE);
    free.Draw(u"WWWWWW", RECT{0, 0, 20, 30}, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_LE(clipped.Ink().right, 20);
    EXPECT_GT(free.Ink().right, 20);
}

TEST(DrawText, PrefixUnderlinesAndDoubleAmpersand) {
    TextCanvas prefixed(80, 30), plain(80, 30), literal(80, 30), doubled(80, 30), amp(80, 30);
    prefixed.Draw(u"&File", RECT{0, 0, 80, 30}, DT_SINGLELINE);
    plain.Draw(u"File", RECT{0, 0, 80, 30}, DT_SINGLELINE);
    literal.Draw(u"&File", RECT{0, 0, 80, 30}, DT_SINGLELINE | DT_NOPREFIX);
    doubled.Draw(u"a&&b", RECT{0, 0, 80, 30}, DT_SINGLELINE);
    amp.Draw(u"a&b", RECT{0, 0, 80, 30}, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_FALSE(prefixed.SameAs(plain));  // the underline
    EXPECT_GT(prefixed.Ink().bottom, plain.Ink().bottom);
    EXPECT_EQ(prefixed.Ink().right, plain.Ink().right);
    EXPECT_GT(literal.Ink().right, plain.Ink().right);
    EXPECT_TRUE(doubled.SameAs(amp));
}

TEST(DrawText, OpaqueModeFillsTheTextCell) {
    TextCanvas canvas(100, 40);
    SetBkMode(canvas.dc, OPAQUE);
    SetBkColor(canvas.dc, kRed);
    canvas.Draw(u"  ", RECT{10, 5, 100, 40}, DT_SINGLELINE);
    EXPECT_EQ(canvas.Ink(), (RECT{10, 5, 10 + canvas.Width(u"  "), 5 + canvas.LineHeight()}));
    EXPECT_EQ(canvas.At(10, 5), kRed);
}

TEST(DrawText, ExpandTabsAndTextOut) {
    TextCanvas canvas(200, 20);
    int tab = canvas.Width(u"a") > 0 ? canvas.Measure(u"a\tb", RECT{0, 0, 200, 0}, DT_EXPANDTABS).right : 0;
    TEXTMETRIC tm{};
    GetTextMetrics(canvas.dc, &tm);
    EXPECT_EQ(tab, 8 * tm.tmAveCharWidth + canvas.Width(u"b"));

    TextCanvas out(100, 30), drawn(100, 30);
    TextOut(out.dc, 3, 4, u"Tx", 2);
    drawn.Draw(u"Tx", RECT{3, 4, 100, 30}, DT_NOCLIP);
    EXPECT_TRUE(out.SameAs(drawn));

    Canvas opaque(10, 10);
    SetBkColor(opaque.dc, kBlue);
    RECT box{6, 6, 2, 2};  // given the wrong way round
    ExtTextOut(opaque.dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
    EXPECT_EQ(opaque.Ink(), (RECT{2, 2, 6, 6}));
}

TEST(Font, FontFilesAreAddedAndRemovedByDevicePath) {
    const char* installed = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!std::filesystem::exists(installed))
        GTEST_SKIP() << "no DejaVu Sans to copy";
    ScopedDeviceRoot root;
    std::filesystem::create_directories(root.HostPath("NandFlash/zeta42/FONTS"));
    std::filesystem::copy_file(installed, root.HostPath("NandFlash/zeta42/FONTS/GOTHIC.TTF"));
    root.PutFile("NandFlash/zeta42/FONTS/broken.ttf", "not a font");
    EXPECT_EQ(AddFontResource(u"\\NandFlash\\zeta42\\fonts\\gothic.ttf"), 1);
    EXPECT_EQ(AddFontResource(u"\\NandFlash\\zeta42\\FONTS\\broken.ttf"), 0);
    EXPECT_EQ(AddFontResource(u"\\NandFlash\\zeta42\\FONTS\\missing.ttf"), 0);
    TextCanvas canvas(60, 20, u"DejaVu Sans");
    canvas.Draw(u"Gothic", RECT{0, 0, 60, 20}, 0);
    RECT ink = canvas.Ink();
    EXPECT_FALSE(IsRectEmpty(&ink));
    EXPECT_TRUE(RemoveFontResource(u"\\NandFlash\\zeta42\\FONTS\\GOTHIC.TTF"));
    EXPECT_FALSE(RemoveFontResource(u"\\NandFlash\\zeta42\\FONTS\\GOTHIC.TTF"));
}

// A font of the device may be a link to a font file; what is no plain file
// once followed is no font, and a pipe is never waited on.
TEST(Font, OnlyPlainFontFilesAreAddedAndLinksAreFollowed) {
    const char* installed = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!std::filesystem::exists(installed))
        GTEST_SKIP() << "no DejaVu Sans to link to";
    ScopedDeviceRoot root;
    std::filesystem::create_directories(root.HostPath("NandFlash/zeta42/FONTS/folder.ttf"));
    std::filesystem::create_symlink(installed, root.HostPath("NandFlash/zeta42/FONTS/linked.ttf"));
    EXPECT_EQ(AddFontResource(u"\\NandFlash\\zeta42\\FONTS\\linked.ttf"), 1);
    EXPECT_TRUE(RemoveFontResource(u"\\NandFlash\\zeta42\\FONTS\\linked.ttf"));
    EXPECT_EQ(AddFontResource(u"\\NandFlash\\zeta42\\FONTS\\folder.ttf"), 0);
    int added = -1;
    EXPECT_TRUE(ReturnsWithoutAWriter(root.HostPath("NandFlash/zeta42/FONTS/GOTHIC.TTF"), [&] {
        added = AddFontResource(u"\\NandFlash\\zeta42\\FONTS\\GOTHIC.TTF");
    }));
    EXPECT_EQ(added, 0);
}
