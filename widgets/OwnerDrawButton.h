// COwnerDrawButton: a push button that draws an icon (or, in the fixed
// layout, a skin image) beside its caption, in six colours, flat or raised.
// A button made with a check-box style works in toggle mode: a tap flips
// its check state and the checked button shows pressed. A tap on a push
// button opens its pop-up menu when it has one, else its link target.
// The parent hears of every tap as BN_CLICKED.
//
// The terminal has a touch screen and no pointer: the button has no hover
// look and no cursor of its own.
#pragma once

#include <memory>

#include "platform/ui/image.h"
#include "widgets/OwnerButtonParts.h"

class COwnerDrawButton : public COwnerButtonBase {
public:
    // Where the icon goes relative to the caption.
    enum Align { kIconLeft = 0, kIconAbove = 1, kIconRight = 2, kSkinImage = 3 };
    static constexpr int kLinkLimit = 260;

    COwnerDrawButton();
    ~COwnerDrawButton() override;

    // Takes over the icons (the button destroys them): 0 shown pressed, 1
    // otherwise, 2 disabled. Icons 1 and 2 are optional; with no first icon
    // the button has none. 0.
    DWORD SetIcons(HICON pressed, DWORD cxPressed, DWORD cyPressed, HICON normal = nullptr, DWORD cxNormal = 0,
                   DWORD cyNormal = 0, HICON disabled = nullptr, DWORD cxDisabled = 0, DWORD cyDisabled = 0);
    // The same from the program's image resources (id 0: none).
    DWORD SetIconResources(UINT pressed, DWORD cxPressed, DWORD cyPressed, UINT normal = 0, DWORD cxNormal = 0,
                           DWORD cyNormal = 0, UINT disabled = 0, DWORD cxDisabled = 0, DWORD cyDisabled = 0);

    void SetFlat(BOOL flat, BOOL repaint = TRUE);
    void SetBorder(BOOL border, BOOL repaint = TRUE);
    // 0 to 3; 4 for any other value, which changes nothing.
    DWORD SetAlign(int align, BOOL repaint = TRUE);

    BOOL IsDefault() const { return m_default; }

    // The program's menu resource `menuId`, whose first submenu a tap opens
    // for `owner`; 0 only removes the menu. 1 when it cannot be loaded.
    DWORD SetPopupMenu(UINT menuId, HWND owner, BOOL repaint = TRUE);
    // What a tap opens when there is no menu (at most 260 characters); null clears.
    void SetLinkTarget(LPCWSTR target);

    // The picture of the fixed layout, loaded from the full path as PNG.
    void SetImageFile(CString path);
    void SetImage(std::unique_ptr<CxImage> image);
    CxImage* GetImage() const { return m_image.get(); }

    void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
    // Button frames: sunken while pressed, raised when not flat.
    virtual void DrawBorder(CDC* dc, const CRect& rect);
    // The face in colour 0 (pressed), 4 (focused) or 2.
    virtual void DrawBackground(CDC* dc, const CRect& rect);

    void PreSubclassWindow() override;
    BOOL OnReflectedCommand(UINT notifyCode) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    UINT OnGetDlgCode() override;
    void OnEnable(BOOL enable) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Icon {
        HICON handle = nullptr;
        DWORD cx = 0;
        DWORD cy = 0;
    };
    enum { kPressedIcon = 0, kNormalIcon = 1, kDisabledIcon = 2, kIconCount = 3 };

    void DestroyIcons();
    const Icon* IconToDraw() const;
    // Draws the icon or skin image and narrows `caption` to the caption's area.
    void DrawPicture(CDC* dc, const CRect& rect, bool hasCaption, CRect& caption);
    void OpenMenu();
    void OpenLink();

    bool m_flat = true;
    bool m_pressed = false;
    bool m_focused = false;
    bool m_disabled = false;
    bool m_default = false;
    int m_align = kIconLeft;
    bool m_border = true;
    HMENU m_menu = nullptr;
    HWND m_menuOwner = nullptr;
    bool m_menuOpen = false;
    Icon m_icons[kIconCount];
    char16_t m_link[kLinkLimit + 1] = {};
    std::unique_ptr<CxImage> m_image;
    CFont m_font;
};
