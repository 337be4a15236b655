// The skinned edit: its face per state over the page picture, the size it
// takes from its images, and what it shows without a page picture.
#include "tests/widgets/test_images.h"
#include "tests/widgets/widget_page.h"
#include "widgets/JHEdit.h"

namespace jhedit_test {
namespace {

constexpr int kFieldCount = 3;
constexpr int kFirstId = 2201;
constexpr int kWidth = 180;
constexpr int kHeight = 40;
constexpr unsigned kNormalEdge = 0x7F8FA6;
constexpr unsigned kFocusEdge = 0x1E88E5;
constexpr unsigned kDisabledEdge = 0xA0A0A0;

class JHEditTest : public WidgetTest {
protected:
    void SetUp() override {
        pageImage.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
        faces[0] = FieldFace(kWidth, kHeight, 1, kNormalEdge, 0xFFFFFF);
        faces[1] = FieldFace(kWidth, kHeight, 2, kFocusEdge, 0xFFF8D8);
        faces[2] = FieldFace(kWidth, kHeight, 1, kDisabledEdge, 0xD8D8D8);
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            for (int i = 0; i < kFieldCount; ++i) {
                ::CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 70, 30 + 60 * i, 50, 20,
                                  p.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstId + i)), nullptr,
                                  nullptr);
                fields[i].SubclassDlgItem(kFirstId + i, &p);
            }
        }));
        for (int i = 0; i < kFieldCount; ++i) {
            for (int slot = 0; slot < 3; ++slot) ASSERT_TRUE(fields[i].SetImage(slot, faces[slot].get()));
            fields[i].SetBackground(&page, &pageImage);
        }
        fields[0].SetWindowText(u"1234");
        fields[1].SetWindowText(u"Anna");
        fields[2].SetWindowText(u"Off");
        fields[2].EnableWindow(FALSE);
        fields[0].SetFocus();
        session.Pump();
    }
    static COLORREF ScreenAt(int x, int y) { return ColorRefFromPixel(ScreenSurface().At(x, y) & 0xFFFFFF); }
    static COLORREF PageAt(const CxImage& image, int x, int y) {
        return ColorRefFromPixel(image.Pixels().At(x, y) & 0xFFFFFF);
    }
    // The colour of field i's left edge, halfway down.
    COLORREF EdgeOf(int i) const { return ScreenAt(70, 30 + 60 * i + kHeight / 2); }

    CxImage pageImage;
    std::unique_ptr<CxImage> faces[3];
    CJHEdit fields[kFieldCount];
};

COLORREF Ref(unsigned rgb) { return ColorRefFromPixel(rgb); }

TEST_F(JHEditTest, FieldTakesTheSizeOfItsImages) {
    CRect window;
    fields[1].GetWindowRect(&window);
    EXPECT_EQ(window.Size(), CSize(kWidth, kHeight));
    auto small = FieldFace(90, 24, 1, kNormalEdge, 0xFFFFFF);
    const CString path = SaveTestImage(*small, u"field_small.png");
    EXPECT_TRUE(fields[1].SetImageFile(3, path));  // a slot that is stored, not drawn
    fields[1].GetWindowRect(&window);
    EXPECT_EQ(window.Size(), CSize(90, 24));
    EXPECT_FALSE(fields[1].SetImageFile(4, path));
    EXPECT_FALSE(fields[1].SetImage(-1, small.get()));
    fields[1].GetWindowRect(&window);
    EXPECT_EQ(window.Size(), CSize(90, 24));
}

TEST_F(JHEditTest, FaceFollowsFocusAndEnabledState) {
    EXPECT_EQ(EdgeOf(0), Ref(kFocusEdge));
    EXPECT_EQ(EdgeOf(1), Ref(kNormalEdge));
    EXPECT_EQ(EdgeOf(2), Ref(kDisabledEdge));
    fields[1].SetFocus();
    session.Pump();
    EXPECT_EQ(EdgeOf(0), Ref(kNormalEdge));
    EXPECT_EQ(EdgeOf(1), Ref(kFocusEdge));
    fields[2].EnableWindow(TRUE);
    session.Pump();
    EXPECT_EQ(EdgeOf(2), Ref(kNormalEdge));
}

TEST_F(JHEditTest, TypedTextIsWrittenOverTheFace) {
    const int y = 30 + kHeight / 2;
    int dark = 0;
    for (int x = 150; x < 240; ++x) dark += ScreenAt(x, y) != Ref(0xFFF8D8) ? 1 : 0;
    EXPECT_EQ(dark, 0);  // "1234" ends before x = 150
    fields[0].SetSel(-1, -1);
    fields[0].ReplaceSel(u"567890");
    session.Pump();
    for (int x = 150; x < 240; ++x) dark += ScreenAt(x, y) != Ref(0xFFF8D8) ? 1 : 0;
    EXPECT_GT(dark, 0);
    EXPECT_EQ(EdgeOf(0), Ref(kFocusEdge));  // the face is still there
}

TEST_F(JHEditTest, CornersShowThePageUnderTheFieldEvenAfterAMove) {
    EXPECT_EQ(ScreenAt(70, 90), PageAt(pageImage, 70, 90));
    fields[1].MoveWindow(150, 100, kWidth, kHeight);
    page.Invalidate();
    session.Pump();
    EXPECT_EQ(ScreenAt(150, 100), PageAt(pageImage, 150, 100));
    EXPECT_EQ(ScreenAt(150 + kWidth - 1, 100 + kHeight - 1), PageAt(pageImage, 150 + kWidth - 1, 100 + kHeight - 1));
}

TEST_F(JHEditTest, WithoutPagePictureOnlyTheStateImageIsDrawn) {
    CJHEdit bare;
    ::CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE, 230, 200, 50, 20, page.m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstId + 9)), nullptr, nullptr);
    bare.SubclassDlgItem(kFirstId + 9, &page);
    auto face = FieldFace(40, 20, 1, kNormalEdge, 0xFFFFFF);
    bare.SetImage(0, face.get());
    page.Invalidate();
    session.Pump();
    EXPECT_EQ(ScreenAt(230 + 20, 210), Ref(0xFFFFFF));
    EXPECT_EQ(ScreenAt(230, 200), 0u);  // a transparent corner over nothing
}

TEST_F(JHEditTest, GoldenThreeStates) { EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_jhedit_states")); }

}  // namespace

}  // namespace jhedit_test
