// Values widgets hold to the pixel and to the millisecond: the value
// selector's Enter only after a full half second of focus, and the skin
// image and caption places of the owner-drawn button's skin alignment.
#include <algorithm>

#include "tests/widgets/test_images.h"
#include "tests/widgets/widget_page.h"
#include "widgets/JHListBox.h"
#include "widgets/OwnerDrawButton.h"

namespace exact_bounds_test {
namespace {

constexpr int kBoxId = 2701;
constexpr int kButtonId = 2702;
const CRect kButton(100, 100, 202, 176);  // 102 x 76, the skin image's button

class ExactBoundsTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            ::CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 200, 24, p.m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kBoxId)), nullptr, nullptr);
            box.SubclassDlgItem(kBoxId, &p);
            ::CreateWindowExW(0, u"BUTTON", u"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, kButton.left, kButton.top,
                              kButton.Width(), kButton.Height(), p.m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId)), nullptr, nullptr);
            button.SubclassDlgItem(kButtonId, &p);
        }));
        session.Pump();
    }
    int EditEnters() const {
        int count = 0;
        for (const auto& [message, id] : page.registered) count += message == EditEnterMessage() && id == kBoxId;
        return count;
    }
    static Pixel At(int x, int y) { return ScreenSurface().At(kButton.left + x, kButton.top + y) & 0xFFFFFF; }

    CJHListBox box;
    COwnerDrawButton button;
};

TEST_F(ExactBoundsTest, EnterExactlyHalfASecondAfterTheFocusCameIsStillTooEarly) {
    box.AddItem(u"Alpha", 10);
    box.SetFocus();
    session.Run("wait 500");
    session.Run("keyup ENTER");
    EXPECT_EQ(EditEnters(), 0);
    session.Run("wait 1");
    session.Run("keyup ENTER");
    EXPECT_EQ(EditEnters(), 1);
}

TEST_F(ExactBoundsTest, TheSkinImageSitsAt27By4AndTheCaptionBelowIt) {
    // A 20 x 20 picture: a red frame around green.
    button.SetImage(FieldFace(20, 20, 1, 0xFF0000, 0x00FF00));
    button.SetAlign(COwnerDrawButton::kSkinImage);
    button.SetWindowText(u"WWWW");
    button.Invalidate();
    session.Pump();
    const Pixel face = At(60, 40);
    EXPECT_EQ(At(27 + 1, 4), 0xFF0000u) << "the top edge";
    EXPECT_EQ(At(27, 4 + 1), 0xFF0000u) << "the left edge";
    EXPECT_EQ(At(27 + 10, 4 + 10), 0x00FF00u);
    EXPECT_EQ(At(27 + 1, 3), face);
    EXPECT_EQ(At(26, 4 + 1), face);
    EXPECT_EQ(At(27 + 19, 4 + 18), 0xFF0000u) << "the right edge";
    EXPECT_EQ(At(27 + 20, 4 + 18), face);
    // The caption's ink lies in rows 56 to 75 only, with margins as wide
    // on both sides (the Ws of the caption have none of their own).
    int inkAbove = 0, inkIn = 0, left = kButton.Width(), right = -1;
    for (int y = 25; y < kButton.Height() - 1; ++y)
        for (int x = 2; x < kButton.Width() - 2; ++x)
            if (At(x, y) != face) {
                (y < 56 ? inkAbove : inkIn) += 1;
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_EQ(inkAbove, 0);
    EXPECT_GT(inkIn, 0);
    EXPECT_EQ(left, kButton.Width() - 1 - right) << "centred across the whole caption area";
}

}  // namespace

}  // namespace exact_bounds_test
