// Menus (built, loaded from templates, shown and chosen from) and icons
// (loaded from files and image resources, drawn, destroyed).
#include <gtest/gtest.h>

#include "platform/base/lasterror.h"
#include "platform/ui/gdi.h"
#include "platform/ui/icon.h"
#include "platform/ui/image.h"
#include "platform/ui/menu.h"
#include "tests/support/device_root.h"
#include "tests/support/ui_session.h"
#include "tests/ui/recorder.h"

namespace {

constexpr UINT kMenuId = 7101;
const MenuTemplate kMenu{kMenuId,
                         {{0, u"File", {{7111, u"Open", {}}, {0, nullptr, {}}, {7112, u"Close", {}}}},
                          {7102, u"Help", {}}}};
const MenuTemplateEntry kMenuEntry(kMenu);

using MenuTest = RecordingTest;

TEST_F(MenuTest, LoadedMenuKeepsItsShapeAndDestroysItsSubmenus) {
    HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCEW(kMenuId));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 2);
    HMENU file = GetSubMenu(menu, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(GetMenuItemID(file, 2), 7112u);
    EXPECT_EQ(GetSubMenu(menu, 1), nullptr);
    EXPECT_EQ(GetMenuItemID(menu, 1), 7102u);
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(file));
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_EQ(LoadMenuW(nullptr, MAKEINTRESOURCEW(7199)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(MenuTest, KeysStepOverTheSeparatorAndEnterChooses) {
    HWND owner = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCEW(kMenuId));
    session.RunWhenIdle({"key DOWN", "key DOWN", "key ENTER"});
    EXPECT_EQ(TrackPopupMenuEx(GetSubMenu(menu, 0), TPM_RETURNCMD, 10, 10, owner, nullptr), 7112);
    session.RunWhenIdle({"key ESC"});
    EXPECT_EQ(TrackPopupMenuEx(GetSubMenu(menu, 0), TPM_RETURNCMD, 10, 10, owner, nullptr), 0);
    DestroyMenu(menu);
}

TEST_F(MenuTest, TapChoosesAndPostsTheCommandATapOutsideDismisses) {
    HWND owner = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, 7121, u"First");
    AppendMenuW(popup, MF_STRING, 7122, u"Second");
    // Shown near the bottom right, the menu moves up and left onto the screen.
    session.RunWhenIdle({"tap 300 230"});
    EXPECT_TRUE(TrackPopupMenuEx(popup, 0, 310, 235, owner, nullptr));
    session.Pump();
    std::vector<Received> got = rec.Of({WM_COMMAND});
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].wParam, static_cast<WPARAM>(MAKEWPARAM(7122, 0)));
    rec.Clear();
    session.RunWhenIdle({"tap 5 5"});
    EXPECT_TRUE(TrackPopupMenuEx(popup, 0, 200, 150, owner, nullptr));
    session.Pump();
    EXPECT_TRUE(rec.Of({WM_COMMAND}).empty());
    EXPECT_FALSE(TrackPopupMenuEx(nullptr, 0, 0, 0, owner, nullptr));
    DestroyMenu(popup);
}

TEST(IconTest, IconsComeFromFilesAndImageResourcesAndDrawAtTheirSize) {
    UiSession session;
    ScopedDeviceRoot root;
    // A 2 x 1 picture: red, then half-transparent blue.
    const BYTE pixels[] = {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80};
    CxImage picture;
    ASSERT_TRUE(picture.CreateFromArray(pixels, 2, 1, 32, 8, false));
    ASSERT_TRUE(picture.Save(u"\\icon.png", CXIMAGE_FORMAT_PNG));

    EXPECT_EQ(LoadImageW(nullptr, u"\\missing.png", IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);
    // Registrations last as long as the process: an id never registered.
    EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCEW(7151), IMAGE_ICON, 0, 0, 0), nullptr);
    RegisterImageResource(7150, u"\\icon.png");
    auto fromResource = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(7150), IMAGE_ICON, 4, 2, 0));
    auto fromFile = static_cast<HICON>(LoadImageW(nullptr, u"\\icon.png", IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(fromResource, nullptr);
    ASSERT_NE(fromFile, nullptr);

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 4);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT all{0, 0, 8, 4};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(DrawIcon(dc, 0, 0, fromFile));
    EXPECT_TRUE(DrawIcon(dc, 2, 2, fromResource));  // stretched to 4 x 2
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 4, 3), GetPixel(dc, 5, 3));
    EXPECT_NE(GetPixel(dc, 4, 3), RGB(0, 0, 255));  // blended, not copied
    EXPECT_EQ(GetPixel(dc, 6, 3), RGB(255, 255, 255));
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);

    EXPECT_TRUE(DestroyIcon(fromFile));
    EXPECT_FALSE(DestroyIcon(fromFile));
    EXPECT_FALSE(DrawIcon(nullptr, 0, 0, fromFile));
    EXPECT_TRUE(DestroyIcon(fromResource));
}

}  // namespace
