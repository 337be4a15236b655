#include "widgets/OwnerDrawButton.h"

#include <algorithm>

#include "platform/dev/shell.h"
#include "platform/ui/icon.h"
#include "platform/ui/menu.h"
#include "widgets/WidgetRules.h"

namespace {

const WidgetFontSpec kTraditionalFont{u"Microsoft JhengHei", 17, 80, 1, 6};
const WidgetFontSpec kOtherFont{u"tohamo", 15, 80, 1, 6};

constexpr int kIconMargin = 3;
// The fixed layout: a picture at (27, 4) above a caption band.
constexpr POINT kSkinImageAt{27, 4};
const CRect kSkinCaption(0, 56, 102, 76);
constexpr DWORD kTypeBits = 0x1F;
constexpr int kShowNoActivate = 11;

HICON LoadIconResource(UINT id, DWORD cx, DWORD cy) {
    if (id == 0) return nullptr;
    return static_cast<HICON>(LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                         static_cast<int>(cx), static_cast<int>(cy), 0));
}

}  // namespace

COwnerDrawButton::COwnerDrawButton() { MakeWidgetFont(m_font, kTraditionalFont, kOtherFont); }

COwnerDrawButton::~COwnerDrawButton() {
    DestroyIcons();
    if (m_menu != nullptr) DestroyMenu(m_menu);
}

void COwnerDrawButton::PreSubclassWindow() {
    m_default = TakeOverDrawing().wasDefault;
    CButton::PreSubclassWindow();
}

void COwnerDrawButton::DestroyIcons() {
    for (Icon& icon : m_icons) {
        if (icon.handle != nullptr) DestroyIcon(icon.handle);
        icon = Icon{};
    }
}

DWORD COwnerDrawButton::SetIcons(HICON pressed, DWORD cxPressed, DWORD cyPressed, HICON normal, DWORD cxNormal,
                                 DWORD cyNormal, HICON disabled, DWORD cxDisabled, DWORD cyDisabled) {
    DestroyIcons();
    if (pressed != nullptr) {
        m_icons[kPressedIcon] = {pressed, cxPressed, cyPressed};
        if (normal != nullptr) m_icons[kNormalIcon] = {normal, cxNormal, cyNormal};
        if (disabled != nullptr) m_icons[kDisabledIcon] = {disabled, cxDisabled, cyDisabled};
    } else {
        // Nothing is kept without a first icon: the others are not leaked.
        if (normal != nullptr) DestroyIcon(normal);
        if (disabled != nullptr) DestroyIcon(disabled);
    }
    Repaint(TRUE);
    return kButtonOk;
}

DWORD COwnerDrawButton::SetIconResources(UINT pressed, DWORD cxPressed, DWORD cyPressed, UINT normal,
                                         DWORD cxNormal, DWORD cyNormal, UINT disabled, DWORD cxDisabled,
                                         DWORD cyDisabled) {
    return SetIcons(LoadIconResource(pressed, cxPressed, cyPressed), cxPressed, cyPressed,
                    LoadIconResource(normal, cxNormal, cyNormal), cxNormal, cyNormal,
                    LoadIconResource(disabled, cxDisabled, cyDisabled), cxDisabled, cyDisabled);
}

void COwnerDrawButton::SetFlat(BOOL flat, BOOL repaint) {
    m_flat = flat != FALSE;
    Repaint(repaint);
}

void COwnerDrawButton::SetBorder(BOOL border, BOOL repaint) {
    m_border = border != FALSE;
    Repaint(repaint);
}

DWORD COwnerDrawButton::SetAlign(int align, BOOL repaint) {
    if (align < kIconLeft || align > kSkinImage) return kButtonInvalidValue;
    m_align = align;
    Repaint(repaint);
    return kButtonOk;
}

DWORD COwnerDrawButton::SetPopupMenu(UINT menuId, HWND owner, BOOL repaint) {
    if (m_menu != nullptr) DestroyMenu(m_menu);
    m_menu = nullptr;
    DWORD result = kButtonOk;
    if (menuId != 0) {
        m_menu = LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(menuId));
        m_menuOwner = owner;
        if (m_menu == nullptr) result = 1;
    }
    Repaint(repaint);
    return result;
}

void COwnerDrawButton::SetLinkTarget(LPCWSTR target) {
    std::fill(std::begin(m_link), std::end(m_link), u'\0');
    if (target == nullptr) return;
    for (int i = 0; i < kLinkLimit && target[i] != u'\0'; ++i) m_link[i] = target[i];
}

void COwnerDrawButton::SetImageFile(CString path) { m_image = std::make_unique<CxImage>(path, CXIMAGE_FORMAT_PNG); }

void COwnerDrawButton::SetImage(std::unique_ptr<CxImage> image) { m_image = std::move(image); }

const COwnerDrawButton::Icon* COwnerDrawButton::IconToDraw() const {
    const Icon* icon = &m_icons[kPressedIcon];
    if (m_disabled && m_icons[kDisabledIcon].handle != nullptr) icon = &m_icons[kDisabledIcon];
    if (!m_disabled && !m_pressed && m_icons[kNormalIcon].handle != nullptr) icon = &m_icons[kNormalIcon];
    return icon->handle != nullptr ? icon : nullptr;
}

void COwnerDrawButton::DrawPicture(CDC* dc, const CRect& rect, bool hasCaption, CRect& caption) {
    if (m_align == kSkinImage) {
        if (m_image) m_image->Draw(*dc, kSkinImageAt.x, kSkinImageAt.y, -1, -1, nullptr, true);
        caption = kSkinCaption;
        return;
    }
    const Icon* icon = IconToDraw();
    if (icon == nullptr) return;
    const int cx = static_cast<int>(icon->cx), cy = static_cast<int>(icon->cy);
    CPoint at(rect.left + (rect.Width() - cx) / 2, rect.top + (rect.Height() - cy) / 2);
    if (hasCaption && m_align == kIconLeft) {
        at.x = rect.left + kIconMargin;
        caption.left += cx + kIconMargin;
    } else if (hasCaption && m_align == kIconAbove) {
        at.y = kIconMargin;
        caption.top += cy + kIconMargin;
    } else if (hasCaption && m_align == kIconRight) {
        CRect client;
        GetClientRect(&client);
        at.x = client.right - kIconMargin - cx;
        caption.left = kIconMargin;
        caption.right = at.x;
    }
    if (m_pressed && !m_toggle) at.Offset(1, 1);
    DrawIcon(*dc, at.x, at.y, icon->handle);
}

void COwnerDrawButton::DrawItem(LPDRAWITEMSTRUCT item) {
    CDC* dc = CDC::FromHandle(item->hDC);
    m_pressed = IsPressed(item->itemState) || m_menuOpen;
    m_focused = (item->itemState & ODS_FOCUS) != 0;
    m_disabled = (item->itemState & ODS_DISABLED) != 0;
    dc->SetBkMode(TRANSPARENT);

    CRect rect = item->rcItem;
    // The face first, so that a repaint never shows the previous look under the new one.
    DrawBackground(dc, rect);
    if (!m_flat && (m_focused || m_default)) {
        CBrush black(0x000000);
        dc->FrameRect(rect, &black);
        rect.DeflateRect(1, 1);
    }
    if (!m_flat || m_border) DrawBorder(dc, rect);

    const CString caption = ButtonCaption(this);
    CRect captionArea = rect;
    DrawPicture(dc, rect, !caption.IsEmpty(), captionArea);
    if (caption.IsEmpty()) return;
    CFont* previousFont = dc->SelectObject(&m_font);
    DrawButtonCaption(*dc, caption, captionArea, m_pressed && !m_toggle, m_disabled, m_colors[m_pressed ? 1 : 3],
                      m_colors[m_pressed ? 0 : 2]);
    dc->SelectObject(previousFont);
}

void COwnerDrawButton::DrawBorder(CDC* dc, const CRect& rect) {
    if (m_pressed)
        dc->Draw3dRect(rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    else if (!m_flat)
        dc->Draw3dRect(rect, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

void COwnerDrawButton::DrawBackground(CDC* dc, const CRect& rect) {
    dc->FillSolidRect(rect, m_colors[m_pressed ? 0 : m_focused ? 4 : 2]);
}

BOOL COwnerDrawButton::OnReflectedCommand(UINT notifyCode) {
    if (notifyCode != BN_CLICKED) return FALSE;
    if (m_toggle) {
        m_checked = !m_checked;
        Invalidate();
    } else if (m_menu != nullptr) {
        OpenMenu();
    } else if (m_link[0] != u'\0') {
        OpenLink();
    }
    return FALSE;
}

void COwnerDrawButton::OpenMenu() {
    CRect window;
    GetWindowRect(&window);
    m_menuOpen = true;
    Invalidate();
    UpdateWindow();
    TrackPopupMenuEx(GetSubMenu(m_menu, 0), 0, window.left, window.bottom, m_menuOwner, nullptr);
    m_menuOpen = false;
    Invalidate();
    UpdateWindow();
}

void COwnerDrawButton::OpenLink() {
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = u"open";
    info.lpFile = m_link;
    info.nShow = kShowNoActivate;
    ShellExecuteEx(&info);
}

void COwnerDrawButton::OnLButtonDown(UINT flags, CPoint point) {
    SetState(TRUE);
    CButton::OnLButtonDown(flags, point);
}

UINT COwnerDrawButton::OnGetDlgCode() {
    // One of the two push-button answers, never both.
    const UINT code = CButton::OnGetDlgCode() & ~static_cast<UINT>(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    return code | (m_default ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void COwnerDrawButton::OnEnable(BOOL enable) {
    // A button that is switched off while it has the focus (which the
    // window system has just taken from it) hands the focus on, so the keys
    // keep working; a control elsewhere keeps its focus.
    CWnd* focus = GetFocus();
    if (!enable && (focus == nullptr || focus == this)) {
        CWnd* parent = GetParent();
        HWND next = ::GetNextDlgTabItem(parent->m_hWnd, m_hWnd, FALSE);
        if (next != nullptr && next != m_hWnd) ::SetFocus(next);
        else parent->SetFocus();
    }
    CButton::OnEnable(enable);
}

LRESULT COwnerDrawButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BM_SETSTYLE) {
        const DWORD type = static_cast<DWORD>(wParam) & kTypeBits;
        if (type == BS_DEFPUSHBUTTON) m_default = true;
        if (type == BS_PUSHBUTTON) m_default = false;
        wParam = (wParam & ~static_cast<WPARAM>(kTypeBits)) | BS_OWNERDRAW;
    }
    return CButton::WindowProc(message, wParam, lParam);
}
