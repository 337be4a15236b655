#include "platform/ui/afxcmn.h"

#include <cstring>

#include "platform/ui/stdctrls.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {

constexpr int kTextLimit = 260;

// A request about one tree item, named by its handle, for what `mask` asks.
TVITEM TreeItemRequest(HTREEITEM item, UINT mask) {
    TVITEM tv{};
    tv.mask = mask | TVIF_HANDLE;
    tv.hItem = item;
    return tv;
}

}  // namespace

// ---- CHeaderCtrl ----

BOOL CHeaderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_HEADER, u"", style, rect, parent, id);
}

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return DrawReflected(this, message, lParam, result) || CWnd::OnChildNotify(message, wParam, lParam, result);
}

// ---- CListCtrl ----

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_LISTVIEW, u"", style, rect, parent, id);
}

int CListCtrl::InsertColumn(int index, const LVCOLUMN* column) {
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(column)));
}

int CListCtrl::InsertColumn(int index, LPCTSTR heading, int format, int width, int subItem) {
    LVCOLUMN column{};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.fmt = format;
    column.pszText = const_cast<LPTSTR>(heading);
    if (width != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = width;
    }
    if (subItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = subItem;
    }
    return InsertColumn(index, &column);
}

BOOL CListCtrl::GetColumn(int index, LVCOLUMN* column) const {
    return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(column)));
}

BOOL CListCtrl::SetColumn(int index, const LVCOLUMN* column) {
    return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(column)));
}

BOOL CListCtrl::SetColumnWidth(int index, int width) {
    return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), MAKELPARAM(width, 0)));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
    auto header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (header == nullptr) return nullptr;
    if (auto* bound = dynamic_cast<CHeaderCtrl*>(CWnd::FromHandlePermanent(header))) return bound;
    m_headerView.m_hWnd = header;
    return &m_headerView;
}

int CListCtrl::InsertItem(const LVITEM* item) {
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(item)));
}

int CListCtrl::InsertItem(int index, LPCTSTR text) { return InsertItem(LVIF_TEXT, index, text, 0, 0, 0, 0); }

int CListCtrl::InsertItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM param) {
    LVITEM item{};
    item.mask = mask;
    item.iItem = index;
    item.pszText = const_cast<LPTSTR>(text);
    item.state = state;
    item.stateMask = stateMask;
    item.iImage = image;
    item.lParam = param;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItem(const LVITEM* item) {
    return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CListCtrl::SetItemText(int index, int subItem, LPCTSTR text) {
    LVITEM item{};
    item.iSubItem = subItem;
    item.pszText = const_cast<LPTSTR>(text);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::GetItemText(int index, int subItem, LPTSTR buffer, int size) const {
    LVITEM item{};
    item.iSubItem = subItem;
    item.pszText = buffer;
    item.cchTextMax = size;
    return static_cast<int>(SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int index, int subItem) const {
    TCHAR buffer[kTextLimit] = {};
    GetItemText(index, subItem, buffer, kTextLimit);
    return CString(buffer);
}

DWORD_PTR CListCtrl::GetItemData(int index) const {
    LVITEM item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data) {
    LVITEM item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = static_cast<LPARAM>(data);
    return SetItem(&item);
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
    LVITEM item{};
    item.state = state;
    item.stateMask = mask;
    return SetItemState(index, &item);
}

BOOL CListCtrl::SetItemState(int index, LVITEM* item) {
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
}

BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT code) const {
    rect->left = static_cast<LONG>(code);
    return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)));
}

BOOL CListCtrl::GetSubItemRect(int index, int subItem, int area, CRect& rect) const {
    rect.top = subItem;
    rect.left = area;
    return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)));
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
    LVHITTESTINFO info{};
    info.pt = point;
    int index = HitTest(&info);
    if (flags) *flags = info.flags;
    return index;
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return DrawReflected(this, message, lParam, result) || CWnd::OnChildNotify(message, wParam, lParam, result);
}

// ---- CTreeCtrl ----

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_TREEVIEW, u"", style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                                LPARAM param, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCT insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = mask;
    insert.item.pszText = const_cast<LPTSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.state = state;
    insert.item.stateMask = stateMask;
    insert.item.lParam = param;
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, HTREEITEM parent, HTREEITEM after) {
    return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after) {
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0, 0, parent, after);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
    TVITEM tv = TreeItemRequest(item, TVIF_CHILDREN);
    return GetItem(&tv) && tv.cChildren > 0;
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
    TCHAR buffer[kTextLimit] = {};
    TVITEM tv = TreeItemRequest(item, TVIF_TEXT);
    tv.pszText = buffer;
    tv.cchTextMax = kTextLimit;
    GetItem(&tv);
    return CString(buffer);
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCTSTR text) {
    TVITEM tv = TreeItemRequest(item, TVIF_TEXT);
    tv.pszText = const_cast<LPTSTR>(text);
    return SetItem(&tv);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
    TVITEM tv = TreeItemRequest(item, TVIF_PARAM);
    return GetItem(&tv) ? static_cast<DWORD_PTR>(tv.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
    TVITEM tv = TreeItemRequest(item, TVIF_PARAM);
    tv.lParam = static_cast<LPARAM>(data);
    return SetItem(&tv);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
    TVITEM tv = TreeItemRequest(item, TVIF_IMAGE | TVIF_SELECTEDIMAGE);
    if (!GetItem(&tv)) return FALSE;
    image = tv.iImage;
    selectedImage = tv.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
    TVITEM tv = TreeItemRequest(item, TVIF_IMAGE | TVIF_SELECTEDIMAGE);
    tv.iImage = image;
    tv.iSelectedImage = selectedImage;
    return SetItem(&tv);
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const {
    TVITEM tv = TreeItemRequest(item, TVIF_STATE);
    tv.stateMask = mask;
    return GetItem(&tv) ? tv.state : 0;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask) {
    TVITEM tv = TreeItemRequest(item, TVIF_STATE);
    tv.state = state;
    tv.stateMask = mask;
    return SetItem(&tv);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const {
    // The item travels in the rectangle, as the message defines.
    std::memcpy(rect, &item, sizeof item);
    return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, static_cast<WPARAM>(textOnly), reinterpret_cast<LPARAM>(rect)));
}

HTREEITEM CTreeCtrl::HitTest(CPoint point, UINT* flags) const {
    TVHITTESTINFO info{};
    info.pt = point;
    auto item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags) *flags = info.flags;
    return item;
}
