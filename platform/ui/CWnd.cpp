#include "platform/ui/CWnd.h"

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/ui/ddx.h"
#include "platform/ui/display.h"
#include "platform/ui/window.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

namespace {

struct HandleMaps {
    std::mutex lock;
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
};

HandleMaps& Maps() {
    static HandleMaps maps;
    return maps;
}

// The messages being handled on this thread, innermost last: Default()
// passes the current one on.
thread_local std::vector<MSG> t_current;

bool ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CWnd* control = CWnd::FromHandlePermanent(child);
    return control != nullptr && control->OnChildNotify(message, wParam, lParam, result);
}

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

CPoint PointFrom(LPARAM lParam) {
    return CPoint(static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
}

}  // namespace

void AttachCreatedWindow(HWND hwnd, void* object) {
    auto* wnd = static_cast<CWnd*>(object);
    wnd->Attach(hwnd);
    wnd->PreSubclassWindow();
    auto old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (old != AfxWndProc) wnd->m_pfnSuper = old;
}

LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (wnd == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    t_current.push_back(MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    t_current.pop_back();
    if (message == WM_NCDESTROY) {
        // A handler that did not pass WM_NCDESTROY on still lets go here.
        if (CWnd* still = CWnd::FromHandlePermanent(hwnd)) {
            still->Detach();
            still->PostNcDestroy();
        }
    }
    return result;
}

CWnd::~CWnd() {
    if (m_hWnd != nullptr && !m_temporary && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    if (m_hWnd != nullptr && !m_temporary) Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    HandleMaps& maps = Maps();
    std::lock_guard<std::mutex> guard(maps.lock);
    auto it = maps.permanent.find(hwnd);
    return it == maps.permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hwnd)) return wnd;
    if (!::IsWindow(hwnd)) return nullptr;
    HandleMaps& maps = Maps();
    std::lock_guard<std::mutex> guard(maps.lock);
    // Temporary objects of windows that are gone are dropped here; window
    // handles are never reused, so a stale entry can never be found again.
    for (auto it = maps.temporary.begin(); it != maps.temporary.end();) {
        it = ::IsWindow(it->first) ? std::next(it) : maps.temporary.erase(it);
    }
    std::unique_ptr<CWnd>& slot = maps.temporary[hwnd];
    if (slot == nullptr) {
        slot = std::make_unique<CWnd>();
        slot->m_hWnd = hwnd;
        slot->m_temporary = true;
    }
    return slot.get();
}

BOOL CWnd::Attach(HWND hwnd) {
    if (hwnd == nullptr || m_hWnd != nullptr) return FALSE;
    HandleMaps& maps = Maps();
    std::lock_guard<std::mutex> guard(maps.lock);
    if (maps.permanent.count(hwnd) != 0) return FALSE;
    maps.permanent[hwnd] = this;
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (hwnd == nullptr) return nullptr;
    HandleMaps& maps = Maps();
    std::lock_guard<std::mutex> guard(maps.lock);
    auto it = maps.permanent.find(hwnd);
    if (it != maps.permanent.end() && it->second == this) maps.permanent.erase(it);
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!::IsWindow(hwnd) || !Attach(hwnd)) return FALSE;
    PreSubclassWindow();
    auto old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (old != AfxWndProc) m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return parent != nullptr ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd == nullptr) return nullptr;
    if (m_pfnSuper != nullptr) ::SetWindowLongPtrW(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    return Detach();
}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  LPVOID param) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
    SetCreationHook(AttachCreatedWindow, this);
    HWND hwnd = ::CreateWindowExW(exStyle, className, windowName, style, x, y, width, height, parent, idOrMenu, nullptr,
                                  param);
    SetCreationHook(nullptr, nullptr);
    return hwnd != nullptr ? TRUE : FALSE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param) {
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, HwndOf(parent), reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), param);
}

BOOL CWnd::DestroyWindow() { return m_hWnd != nullptr ? ::DestroyWindow(m_hWnd) : FALSE; }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    if (t_current.empty()) return 0;
    MSG current = t_current.back();
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = 0;
    auto dc = [&] { return CDC::FromHandle(reinterpret_cast<HDC>(wParam)); };
    switch (message) {
    case WM_COMMAND:
        if (lParam != 0 && ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result)) return TRUE;
        return OnCommand(wParam, lParam);
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && ReflectToChild(header->hwndFrom, message, wParam, lParam, result)) return TRUE;
        return OnNotify(wParam, lParam, result);
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (item != nullptr && item->CtlType != ODT_MENU && ReflectToChild(item->hwndItem, message, wParam, lParam, result))
            return TRUE;
        OnDrawItem(static_cast<int>(wParam), item);
        *result = TRUE;
        return TRUE;
    }
    case WM_CREATE:
        *result = OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    case WM_NCDESTROY:
        OnNcDestroy();
        return TRUE;
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_ERASEBKGND:
        *result = OnEraseBkgnd(dc());
        return TRUE;
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
        return TRUE;
    case WM_MOVE:
        OnMove(static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
        return TRUE;
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        return TRUE;
    case WM_SETFOCUS:
        OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        return TRUE;
    case WM_KILLFOCUS:
        OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        return TRUE;
    case WM_ENABLE:
        OnEnable(static_cast<BOOL>(wParam));
        return TRUE;
    case WM_CLOSE:
        OnClose();
        return TRUE;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
        UINT ch = static_cast<UINT>(wParam);
        UINT repeat = LOWORD(lParam);
        UINT flags = HIWORD(lParam);
        if (message == WM_KEYDOWN) OnKeyDown(ch, repeat, flags);
        if (message == WM_KEYUP) OnKeyUp(ch, repeat, flags);
        if (message == WM_CHAR) OnChar(ch, repeat, flags);
        if (message == WM_SYSKEYDOWN) OnSysKeyDown(ch, repeat, flags);
        if (message == WM_SYSKEYUP) OnSysKeyUp(ch, repeat, flags);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointFrom(lParam));
        return TRUE;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), PointFrom(lParam));
        return TRUE;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), PointFrom(lParam));
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointFrom(lParam));
        return TRUE;
    case WM_MOUSEWHEEL:
        *result = OnMouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), PointFrom(lParam));
        return TRUE;
    case WM_GETDLGCODE:
        *result = OnGetDlgCode();
        return TRUE;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(FromHandle(reinterpret_cast<HWND>(lParam)));
        return TRUE;
    default:
        break;
    }
    if (IsCtlColor(message)) {
        auto control = reinterpret_cast<HWND>(lParam);
        if (ReflectToChild(control, message, wParam, lParam, result)) return TRUE;
        *result = reinterpret_cast<LRESULT>(OnCtlColor(dc(), FromHandle(control), message - WM_CTLCOLORMSGBOX));
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }

BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) return OnReflectedCommand(HIWORD(wParam));
    if (message == WM_NOTIFY) return OnReflectedNotify(reinterpret_cast<NMHDR*>(lParam), result);
    if (IsCtlColor(message)) {
        HBRUSH brush = CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), message - WM_CTLCOLORMSGBOX);
        if (brush == nullptr) return FALSE;
        *result = reinterpret_cast<LRESULT>(brush);
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnReflectedCommand(UINT) { return FALSE; }
BOOL CWnd::OnReflectedNotify(NMHDR*, LRESULT*) { return FALSE; }
HBRUSH CWnd::CtlColor(CDC*, UINT) { return nullptr; }

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() {
    Default();
    Detach();
    PostNcDestroy();
}
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::GetOwner() const {
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    return FromHandle(owner ? owner : ::GetParent(m_hWnd));
}

CWnd* CWnd::GetTopLevelParent() const {
    HWND hwnd = m_hWnd;
    while (hwnd != nullptr && (::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = ::GetParent(hwnd);
    return FromHandle(hwnd);
}

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
    if (flags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    DWORD style = GetExStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(changed));
    if (flags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

void CWnd::ClientToScreen(LPRECT rect) const {
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::ScreenToClient(LPRECT rect) const {
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const {
    ::MapWindowPoints(m_hWnd, HwndOf(to), points, count);
}

void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const {
    ::MapWindowPoints(m_hWnd, HwndOf(to), reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags) {
    return ::SetWindowPos(m_hWnd, HwndOf(insertAfter), x, y, width, height, flags);
}

void CWnd::CenterWindow(CWnd* alternate) {
    CRect rect;
    GetWindowRect(&rect);
    CRect area(0, 0, kScreenWidth, kScreenHeight);
    const bool child = (GetStyle() & WS_CHILD) != 0;
    HWND center = child ? ::GetParent(m_hWnd) : HwndOf(alternate);
    if (!child && center == nullptr) center = ::GetWindow(m_hWnd, GW_OWNER);
    if (center != nullptr && ::IsWindowVisible(center)) ::GetWindowRect(center, &area);
    int x = area.left + (area.Width() - rect.Width()) / 2;
    int y = area.top + (area.Height() - rect.Height()) / 2;
    if (!child) {
        x = std::max(0, std::min(x, kScreenWidth - rect.Width()));
        y = std::max(0, std::min(y, kScreenHeight - rect.Height()));
    } else {
        POINT origin{x, y};
        ::ScreenToClient(center, &origin);
        x = origin.x;
        y = origin.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::GetWindowText(CString& text) const {
    int length = GetWindowTextLength();
    char16_t* buffer = text.GetBuffer(length);
    ::GetWindowTextW(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    text.Empty();
    if (CWnd* item = GetDlgItem(id)) item->GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(HandleOf(font)), MAKELPARAM(redraw ? 1 : 0, 0));
}

CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
}

BOOL CWnd::RedrawWindow(LPCRECT rect, CRgn* region, UINT flags) {
    return ::RedrawWindow(m_hWnd, rect, static_cast<HRGN>(HandleOf(region)), flags);
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }

int CWnd::ReleaseDC(CDC* dc) { return dc != nullptr ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
    for (HWND hwnd = msg->hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd != nullptr && wnd->PreTranslateMessage(msg)) return TRUE;
        if (hwnd == stop || (::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) == 0) break;
    }
    return FALSE;
}
