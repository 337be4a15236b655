// The SysHeader32 class: a row of column titles, each a push-button face
// with its text, or drawn by the parent (HDF_OWNERDRAW, WM_DRAWITEM with
// ODT_HEADER). The list view keeps one as its child with id 0.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/controlpaint.h"
#include "platform/ui/controlstate.h"
#include "platform/ui/gdi.h"
#include "platform/ui/stockclasses.h"

namespace {

constexpr int kTextInset = 4;

struct HeaderItem {
    std::u16string text;
    int width = 0;
    int fmt = HDF_LEFT | HDF_STRING;
    LPARAM param = 0;
};

struct HeaderState {
    std::vector<HeaderItem> items;
};

HeaderState* StateOf(HWND hwnd) { return ControlStateOf<HeaderState>(hwnd); }

bool ItemRect(HWND hwnd, const HeaderState& s, int index, RECT* rect) {
    if (index < 0 || index >= static_cast<int>(s.items.size())) return false;
    RECT client;
    GetClientRect(hwnd, &client);
    int left = 0;
    for (int i = 0; i < index; ++i) left += s.items[static_cast<size_t>(i)].width;
    *rect = RECT{left, 0, left + s.items[static_cast<size_t>(index)].width, client.bottom};
    return true;
}

void Store(HeaderItem& item, const HDITEMW& from) {
    if (from.mask & HDI_TEXT) item.text = from.pszText ? from.pszText : u"";
    if (from.mask & HDI_WIDTH) item.width = from.cxy;
    if (from.mask & HDI_FORMAT) item.fmt = from.fmt;
    if (from.mask & HDI_LPARAM) item.param = from.lParam;
}

void Fetch(const HeaderItem& item, HDITEMW& to) {
    if (to.mask & HDI_TEXT) CopyToBuffer(item.text, to.pszText, to.cchTextMax);
    if (to.mask & HDI_WIDTH) to.cxy = item.width;
    if (to.mask & HDI_FORMAT) to.fmt = item.fmt;
    if (to.mask & HDI_LPARAM) to.lParam = item.param;
}

UINT Alignment(int fmt) {
    switch (fmt & HDF_JUSTIFYMASK) {
    case HDF_RIGHT:
        return DT_RIGHT;
    case HDF_CENTER:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

void PaintHeader(HWND hwnd, HDC dc) {
    HeaderState* s = StateOf(hwnd);
    if (s == nullptr) return;
    RECT client;
    GetClientRect(hwnd, &client);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    int right = 0;
    for (int i = 0; i < static_cast<int>(s->items.size()); ++i) {
        const HeaderItem& item = s->items[static_cast<size_t>(i)];
        RECT rect;
        ItemRect(hwnd, *s, i, &rect);
        right = rect.right;
        if (item.fmt & HDF_OWNERDRAW) {
            DRAWITEMSTRUCT draw{ODT_HEADER, 0, static_cast<UINT>(i), ODA_DRAWENTIRE, 0, hwnd, dc, rect,
                                static_cast<ULONG_PTR>(item.param)};
            SendMessageW(GetParent(hwnd), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
            continue;
        }
        DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH);
        RECT text = rect;
        InflateRect(&text, -kTextInset, 0);
        DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text,
                  Alignment(item.fmt) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    RECT rest{right, 0, client.right, client.bottom};
    if (rest.left < rest.right) FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT HeaderMessage(HWND hwnd, HeaderState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    const int count = static_cast<int>(s.items.size());
    switch (message) {
    case HDM_GETITEMCOUNT:
        return count;
    case HDM_INSERTITEMW: {
        if (lParam == 0) return -1;
        int index = std::clamp(static_cast<int>(wParam), 0, count);
        HeaderItem item;
        Store(item, *reinterpret_cast<const HDITEMW*>(lParam));
        s.items.insert(s.items.begin() + index, item);
        InvalidateRect(hwnd, nullptr, TRUE);
        return index;
    }
    case HDM_DELETEITEM: {
        int index = static_cast<int>(wParam);
        if (index < 0 || index >= count) return FALSE;
        s.items.erase(s.items.begin() + index);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case HDM_GETITEMW:
    case HDM_SETITEMW: {
        int index = static_cast<int>(wParam);
        if (index < 0 || index >= count || lParam == 0) return FALSE;
        auto* item = reinterpret_cast<HDITEMW*>(lParam);
        if (message == HDM_GETITEMW) {
            Fetch(s.items[static_cast<size_t>(index)], *item);
        } else {
            Store(s.items[static_cast<size_t>(index)], *item);
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return TRUE;
    }
    case HDM_GETITEMRECT:
        return lParam != 0 && ItemRect(hwnd, s, static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_PAINT:
        PaintControl(hwnd, wParam, PaintHeader);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void RegisterHeaderClass() { RegisterControlClass(WC_HEADER, ControlStateProc<HeaderState, HeaderMessage>); }
