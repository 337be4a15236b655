#include "platform/ui/menu.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "platform/base/lasterror.h"
#include "platform/ui/display.h"
#include "platform/ui/gdi.h"
#include "platform/ui/winuser.h"

namespace {

struct MenuItem {
    UINT flags;
    UINT id;
    std::u16string text;
    HMENU popup;
};

}  // namespace

struct HMENU__ {
    std::vector<MenuItem> items;
};

namespace {

constexpr int kRowHeight = 22;
constexpr int kSeparatorHeight = 7;
constexpr int kTextIndent = 10;
constexpr int kMinWidth = 60;
const char16_t kPopupClass[] = u"#32768";

std::mutex g_lock;

std::set<HMENU>& LiveMenus() {
    static std::set<HMENU> menus;
    return menus;
}

std::map<UINT, const MenuTemplate*>& MenuTemplates() {
    static std::map<UINT, const MenuTemplate*> templates;
    return templates;
}

HMENU NewMenu() {
    HMENU menu = new HMENU__();
    std::lock_guard<std::mutex> guard(g_lock);
    LiveMenus().insert(menu);
    return menu;
}

HMENU Build(const std::vector<MenuTemplateItem>& items) {
    HMENU menu = NewMenu();
    for (const MenuTemplateItem& item : items) {
        if (!item.popup.empty())
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Build(item.popup)), item.text);
        else if (item.text == nullptr)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING, item.id, item.text);
    }
    return menu;
}

// The menu being shown: one at a time.
struct Tracking {
    HMENU menu = nullptr;
    int highlighted = -1;
    bool done = false;
    UINT chosen = 0;
};
Tracking* g_tracking = nullptr;

bool IsSeparator(const MenuItem& item) { return (item.flags & MF_SEPARATOR) != 0; }
bool IsChoosable(const MenuItem& item) {
    return !IsSeparator(item) && (item.flags & (MF_GRAYED | MF_DISABLED | MF_POPUP)) == 0;
}
int RowHeight(const MenuItem& item) { return IsSeparator(item) ? kSeparatorHeight : kRowHeight; }

int ItemAt(const Tracking& t, POINT client) {
    int top = 1;
    for (size_t i = 0; i < t.menu->items.size(); ++i) {
        const int bottom = top + RowHeight(t.menu->items[i]);
        if (client.y >= top && client.y < bottom) return static_cast<int>(i);
        top = bottom;
    }
    return -1;
}

void Finish(Tracking& t, int item) {
    t.done = true;
    if (item >= 0 && IsChoosable(t.menu->items[static_cast<size_t>(item)]))
        t.chosen = t.menu->items[static_cast<size_t>(item)].id;
}

// The next choosable item from `from` in direction `step`, wrapping.
int StepHighlight(const Tracking& t, int step) {
    const int count = static_cast<int>(t.menu->items.size());
    int at = t.highlighted;
    for (int n = 0; n < count; ++n) {
        at = ((at < 0 && step < 0 ? count : at) + step + count) % count;
        if (IsChoosable(t.menu->items[static_cast<size_t>(at)])) return at;
    }
    return t.highlighted;
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
    FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    int top = 1;
    for (size_t i = 0; i < g_tracking->menu->items.size(); ++i) {
        const MenuItem& item = g_tracking->menu->items[i];
        RECT row{1, top, client.right - 1, top + RowHeight(item)};
        top = row.bottom;
        if (IsSeparator(item)) {
            RECT line{row.left + 2, row.top + kSeparatorHeight / 2, row.right - 2, row.top + kSeparatorHeight / 2 + 1};
            FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
            continue;
        }
        const bool lit = static_cast<int>(i) == g_tracking->highlighted;
        if (lit) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(!IsChoosable(item) ? COLOR_GRAYTEXT : lit ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
        row.left += kTextIndent;
        DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &row, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    EndPaint(hwnd, &ps);
}

LRESULT PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_tracking == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    Tracking& t = *g_tracking;
    const POINT at{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    RECT client;
    GetClientRect(hwnd, &client);
    switch (message) {
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE: {
        const int item = PtInRect(&client, at) ? ItemAt(t, at) : -1;
        if (item != t.highlighted) {
            t.highlighted = item;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    }
    case WM_LBUTTONUP:
        Finish(t, PtInRect(&client, at) ? ItemAt(t, at) : -1);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            t.highlighted = StepHighlight(t, wParam == VK_UP ? -1 : 1);
            InvalidateRect(hwnd, nullptr, FALSE);
        } else if (wParam == VK_RETURN) {
            Finish(t, t.highlighted);
        } else if (wParam == VK_ESCAPE) {
            Finish(t, -1);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) Finish(t, -1);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void RegisterPopupClass() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PopupProc;
        wc.lpszClassName = kPopupClass;
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
}

SIZE PopupSize(HMENU menu) {
    HDC dc = GetDC(nullptr);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    int width = kMinWidth, height = 2;
    for (const MenuItem& item : menu->items) {
        SIZE text{};
        GetTextExtentPoint32W(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text);
        width = std::max<int>(width, text.cx + 2 * kTextIndent + 2);
        height += RowHeight(item);
    }
    ReleaseDC(nullptr, dc);
    return SIZE{std::min(width, kScreenWidth), std::min(height, kScreenHeight)};
}

}  // namespace

void RegisterMenuTemplate(const MenuTemplate* menu) {
    std::lock_guard<std::mutex> guard(g_lock);
    MenuTemplates()[menu->id] = menu;
}

HMENU CreateMenu() { return NewMenu(); }
HMENU CreatePopupMenu() { return NewMenu(); }

BOOL IsMenu(HMENU menu) {
    std::lock_guard<std::mutex> guard(g_lock);
    return LiveMenus().count(menu) != 0;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text) {
    if (!IsMenu(menu) || ((flags & MF_POPUP) && !IsMenu(reinterpret_cast<HMENU>(item)))) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    const bool popup = (flags & MF_POPUP) != 0;
    menu->items.push_back(MenuItem{flags, popup ? 0u : static_cast<UINT>(item), text ? text : u"",
                                   popup ? reinterpret_cast<HMENU>(item) : nullptr});
    return TRUE;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text) { return AppendMenuW(menu, flags, item, text); }

BOOL DestroyMenu(HMENU menu) {
    {
        std::lock_guard<std::mutex> guard(g_lock);
        if (LiveMenus().erase(menu) == 0) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return FALSE;
        }
    }
    for (const MenuItem& item : menu->items)
        if (item.popup != nullptr) DestroyMenu(item.popup);
    delete menu;
    return TRUE;
}

int GetMenuItemCount(HMENU menu) { return IsMenu(menu) ? static_cast<int>(menu->items.size()) : -1; }

HMENU GetSubMenu(HMENU menu, int position) {
    if (!IsMenu(menu) || position < 0 || position >= static_cast<int>(menu->items.size())) return nullptr;
    return menu->items[static_cast<size_t>(position)].popup;
}

UINT GetMenuItemID(HMENU menu, int position) {
    if (!IsMenu(menu) || position < 0 || position >= static_cast<int>(menu->items.size())) return static_cast<UINT>(-1);
    const MenuItem& item = menu->items[static_cast<size_t>(position)];
    return item.popup != nullptr ? static_cast<UINT>(-1) : item.id;
}

HMENU LoadMenuW(HINSTANCE, LPCWSTR name) {
    const MenuTemplate* found = nullptr;
    if (name != nullptr && IS_INTRESOURCE(name)) {
        std::lock_guard<std::mutex> guard(g_lock);
        auto at = MenuTemplates().find(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
        if (at != MenuTemplates().end()) found = at->second;
    }
    if (found == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return Build(found->items);
}

HMENU LoadMenu(HINSTANCE instance, LPCWSTR name) { return LoadMenuW(instance, name); }

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, void*) {
    if (!IsMenu(menu) || !IsWindow(owner) || g_tracking != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RegisterPopupClass();
    Tracking tracking;
    tracking.menu = menu;
    g_tracking = &tracking;
    const SIZE size = PopupSize(menu);
    x = std::clamp(x, 0, kScreenWidth - static_cast<int>(size.cx));
    y = std::clamp(y, 0, kScreenHeight - static_cast<int>(size.cy));
    HWND popup = CreateWindowExW(WS_EX_TOPMOST, kPopupClass, u"", WS_POPUP | WS_VISIBLE, x, y, size.cx, size.cy,
                                 owner, nullptr, nullptr, nullptr);
    SetCapture(popup);
    MSG msg;
    while (!tracking.done) {
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            break;
        }
        // Keys belong to the menu while it is shown.
        if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) msg.hwnd = popup;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    g_tracking = nullptr;
    if (GetCapture() == popup) ReleaseCapture();
    DestroyWindow(popup);
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(tracking.chosen);
    if (tracking.chosen != 0) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(tracking.chosen, 0), 0);
    return TRUE;
}
