// The SysTreeView32 class: items under items, each with a text, a number
// for its owner and image numbers; expanding and collapsing, one selected
// item (the caret), walking by parent, child, sibling and visible order,
// arrows and taps, and the TVN_/NM_ notifications. An item handle is the
// address of its node; handles of deleted items are refused, never followed.
#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/controlpaint.h"
#include "platform/ui/controlstate.h"
#include "platform/ui/gdi.h"
#include "platform/ui/stockclasses.h"

struct TreeItemTag {
    std::u16string text;
    LPARAM param = 0;
    int image = 0;
    int selectedImage = 0;
    UINT state = 0;
    int childrenFlag = 0;  // cChildren as set by the owner
    TreeItemTag* parent = nullptr;
    std::vector<std::unique_ptr<TreeItemTag>> children;
};

namespace {

using Node = TreeItemTag;

constexpr int kIndent = 16;
constexpr int kRowPadding = 4;
constexpr int kButton = 9;

struct TreeState {
    Node root;
    std::set<const Node*> live;
    Node* caret = nullptr;
    int top = 0;  // first visible row shown
    bool focused = false;
    COLORREF bkColor;
    COLORREF textColor;
    TreeState() : bkColor(GetSysColor(COLOR_WINDOW)), textColor(GetSysColor(COLOR_WINDOWTEXT)) {}
};

TreeState* StateOf(HWND hwnd) { return ControlStateOf<TreeState>(hwnd); }

HTREEITEM Handle(Node* node) { return node; }

Node* NodeOf(TreeState& s, HTREEITEM item) {
    if (item == nullptr || item == TVI_ROOT) return nullptr;
    return s.live.count(item) ? item : nullptr;
}

bool Expanded(const Node* node) { return (node->state & TVIS_EXPANDED) != 0; }
bool HasChildren(const Node* node) { return !node->children.empty() || node->childrenFlag > 0; }

int Level(const Node* node) {
    int level = 0;
    for (const Node* p = node->parent; p != nullptr && p->parent != nullptr; p = p->parent) ++level;
    return level;
}

void CollectVisible(Node* parent, std::vector<Node*>& out) {
    for (auto& child : parent->children) {
        out.push_back(child.get());
        if (Expanded(child.get())) CollectVisible(child.get(), out);
    }
}

std::vector<Node*> VisibleItems(TreeState& s) {
    std::vector<Node*> out;
    CollectVisible(&s.root, out);
    return out;
}

int RowOf(TreeState& s, const Node* node) {
    std::vector<Node*> visible = VisibleItems(s);
    auto it = std::find(visible.begin(), visible.end(), node);
    return it == visible.end() ? -1 : static_cast<int>(it - visible.begin());
}

int RowHeight(HWND hwnd) { return ControlMeasure(hwnd).Height() + kRowPadding; }

int RowsPerPage(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    return std::max(1, client.bottom / RowHeight(hwnd));
}

int IndentOf(HWND hwnd, const Node* node) {
    int steps = Level(node) + ((WindowStyleOf(hwnd) & TVS_LINESATROOT) ? 1 : 0);
    return steps * kIndent;
}

// The whole row, or (label) only the text's cell.
bool ItemRect(HWND hwnd, TreeState& s, const Node* node, bool label, RECT* rect) {
    int row = RowOf(s, node);
    if (row < 0) return false;
    RECT client;
    GetClientRect(hwnd, &client);
    int height = RowHeight(hwnd);
    int top = (row - s.top) * height;
    *rect = RECT{0, top, client.right, top + height};
    if (label) {
        rect->left = IndentOf(hwnd, node);
        rect->right = rect->left + ControlMeasure(hwnd).Width(node->text) + kRowPadding;
    }
    return true;
}

void FillItem(const Node* node, TVITEMW& out) {
    if (out.mask & TVIF_TEXT) CopyToBuffer(node->text, out.pszText, out.cchTextMax);
    if (out.mask & TVIF_PARAM) out.lParam = node->param;
    if (out.mask & TVIF_IMAGE) out.iImage = node->image;
    if (out.mask & TVIF_SELECTEDIMAGE) out.iSelectedImage = node->selectedImage;
    if (out.mask & TVIF_STATE) out.state = node->state & out.stateMask;
    if (out.mask & TVIF_CHILDREN) out.cChildren = HasChildren(node) ? 1 : 0;
}

void StoreItem(Node* node, const TVITEMW& in) {
    if ((in.mask & TVIF_TEXT) && in.pszText) node->text = in.pszText;
    if (in.mask & TVIF_PARAM) node->param = in.lParam;
    if (in.mask & TVIF_IMAGE) node->image = in.iImage;
    if (in.mask & TVIF_SELECTEDIMAGE) node->selectedImage = in.iSelectedImage;
    if (in.mask & TVIF_STATE) node->state = (node->state & ~in.stateMask) | (in.state & in.stateMask);
    if (in.mask & TVIF_CHILDREN) node->childrenFlag = in.cChildren;
}

TVITEMW Describe(const Node* node) {
    TVITEMW item{};
    if (node == nullptr) return item;
    item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = const_cast<Node*>(node);
    item.stateMask = 0xFFFFFFFFu;
    FillItem(node, item);
    return item;
}

LRESULT NotifyTree(HWND hwnd, UINT code, UINT action, const Node* oldNode, const Node* newNode) {
    NMTREEVIEWW change{};
    change.action = action;
    change.itemOld = Describe(oldNode);
    change.itemNew = Describe(newNode);
    return NotifyParent(hwnd, code, &change.hdr);
}

void ClampTop(HWND hwnd, TreeState& s) {
    int most = std::max(0, static_cast<int>(VisibleItems(s).size()) - RowsPerPage(hwnd));
    s.top = std::clamp(s.top, 0, most);
}

bool Expand(HWND hwnd, TreeState& s, Node* node, UINT code);

void EnsureVisible(HWND hwnd, TreeState& s, Node* node) {
    for (Node* p = node->parent; p != nullptr && p != &s.root; p = p->parent) {
        if (!Expanded(p)) Expand(hwnd, s, p, TVE_EXPAND);
    }
    int row = RowOf(s, node);
    int perPage = RowsPerPage(hwnd);
    int old = s.top;
    if (row < s.top) s.top = row;
    if (row >= s.top + perPage) s.top = row - perPage + 1;
    ClampTop(hwnd, s);
    if (old != s.top) InvalidateRect(hwnd, nullptr, TRUE);
}

// TRUE when `node` (may be null: no selection) is the caret afterwards.
bool Select(HWND hwnd, TreeState& s, Node* node, UINT action) {
    if (node == s.caret) return true;
    Node* old = s.caret;
    if (NotifyTree(hwnd, TVN_SELCHANGINGW, action, old, node) != 0) return false;
    if (!IsWindow(hwnd)) return false;
    if (old && s.live.count(old)) old->state &= ~static_cast<UINT>(TVIS_SELECTED);
    s.caret = node;
    if (node) {
        node->state |= TVIS_SELECTED;
        EnsureVisible(hwnd, s, node);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyTree(hwnd, TVN_SELCHANGEDW, action, old, node);
    return true;
}

bool Contains(const Node* ancestor, const Node* node) {
    for (const Node* p = node; p != nullptr; p = p->parent) {
        if (p == ancestor) return true;
    }
    return false;
}

bool Expand(HWND hwnd, TreeState& s, Node* node, UINT code) {
    bool expand = code == TVE_EXPAND || (code == TVE_TOGGLE && !Expanded(node));
    if (code != TVE_EXPAND && code != TVE_COLLAPSE && code != TVE_TOGGLE) return false;
    if (expand == Expanded(node)) return true;
    if (!HasChildren(node)) return false;
    UINT action = expand ? TVE_EXPAND : TVE_COLLAPSE;
    if (NotifyTree(hwnd, TVN_ITEMEXPANDINGW, action, nullptr, node) != 0) return false;
    if (expand) {
        node->state |= TVIS_EXPANDED;
    } else {
        node->state &= ~static_cast<UINT>(TVIS_EXPANDED);
        if (s.caret && s.caret != node && Contains(node, s.caret)) Select(hwnd, s, node, TVC_UNKNOWN);
    }
    ClampTop(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyTree(hwnd, TVN_ITEMEXPANDEDW, action, nullptr, node);
    return true;
}

HTREEITEM Insert(HWND hwnd, TreeState& s, const TVINSERTSTRUCTW& insert) {
    Node* parent = insert.hParent == nullptr || insert.hParent == TVI_ROOT ? &s.root : NodeOf(s, insert.hParent);
    if (parent == nullptr) return nullptr;
    auto node = std::make_unique<Node>();
    StoreItem(node.get(), insert.item);
    node->state &= ~static_cast<UINT>(TVIS_SELECTED);
    node->parent = parent;
    auto& siblings = parent->children;
    auto where = siblings.end();
    if (insert.hInsertAfter == TVI_FIRST) {
        where = siblings.begin();
    } else if (insert.hInsertAfter != TVI_LAST && insert.hInsertAfter != nullptr) {
        auto after = std::find_if(siblings.begin(), siblings.end(),
                                  [&](const std::unique_ptr<Node>& n) { return n.get() == insert.hInsertAfter; });
        if (after != siblings.end()) where = after + 1;
    }
    Node* raw = node.get();
    s.live.insert(raw);
    siblings.insert(where, std::move(node));
    InvalidateRect(hwnd, nullptr, TRUE);
    return Handle(raw);
}

void Forget(HWND hwnd, TreeState& s, Node* node) {
    for (auto& child : node->children) Forget(hwnd, s, child.get());
    NotifyTree(hwnd, TVN_DELETEITEMW, 0, node, nullptr);
    s.live.erase(node);
    if (s.caret == node) s.caret = nullptr;
}

BOOL Delete(HWND hwnd, TreeState& s, HTREEITEM item) {
    Node* node = item == TVI_ROOT || item == nullptr ? &s.root : NodeOf(s, item);
    if (node == nullptr) return FALSE;
    if (node == &s.root) {
        for (auto& child : s.root.children) Forget(hwnd, s, child.get());
        s.root.children.clear();
    } else {
        Forget(hwnd, s, node);
        auto& siblings = node->parent->children;
        siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                    [&](const std::unique_ptr<Node>& n) { return n.get() == node; }));
    }
    ClampTop(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

Node* Sibling(Node* node, int step) {
    auto& siblings = node->parent->children;
    auto it = std::find_if(siblings.begin(), siblings.end(), [&](const std::unique_ptr<Node>& n) { return n.get() == node; });
    auto index = (it - siblings.begin()) + step;
    if (index < 0 || index >= static_cast<long>(siblings.size())) return nullptr;
    return siblings[static_cast<size_t>(index)].get();
}

Node* VisibleStep(TreeState& s, Node* node, int step) {
    std::vector<Node*> visible = VisibleItems(s);
    int row = RowOf(s, node);
    if (row < 0 || row + step < 0 || row + step >= static_cast<int>(visible.size())) return nullptr;
    return visible[static_cast<size_t>(row + step)];
}

Node* NextItem(TreeState& s, UINT code, HTREEITEM item) {
    Node* node = NodeOf(s, item);
    std::vector<Node*> visible;
    switch (code) {
    case TVGN_ROOT:
        return s.root.children.empty() ? nullptr : s.root.children.front().get();
    case TVGN_CARET:
        return s.caret;
    case TVGN_FIRSTVISIBLE:
        visible = VisibleItems(s);
        return s.top < static_cast<int>(visible.size()) ? visible[static_cast<size_t>(s.top)] : nullptr;
    case TVGN_LASTVISIBLE:
        visible = VisibleItems(s);
        return visible.empty() ? nullptr : visible.back();
    case TVGN_CHILD: {
        Node* parent = item == nullptr || item == TVI_ROOT ? &s.root : node;
        return parent && !parent->children.empty() ? parent->children.front().get() : nullptr;
    }
    default:
        break;
    }
    if (node == nullptr) return nullptr;
    switch (code) {
    case TVGN_NEXT:
        return Sibling(node, 1);
    case TVGN_PREVIOUS:
        return Sibling(node, -1);
    case TVGN_PARENT:
        return node->parent == &s.root ? nullptr : node->parent;
    case TVGN_NEXTVISIBLE:
        return VisibleStep(s, node, 1);
    case TVGN_PREVIOUSVISIBLE:
        return VisibleStep(s, node, -1);
    default:
        return nullptr;
    }
}

Node* HitTest(HWND hwnd, TreeState& s, TVHITTESTINFO& info) {
    info.hItem = nullptr;
    info.flags = TVHT_NOWHERE;
    std::vector<Node*> visible = VisibleItems(s);
    int row = s.top + (info.pt.y >= 0 ? info.pt.y / RowHeight(hwnd) : -1);
    if (info.pt.y < 0 || row >= static_cast<int>(visible.size())) return nullptr;
    Node* node = visible[static_cast<size_t>(row)];
    int indent = IndentOf(hwnd, node);
    info.hItem = node;
    info.flags = (info.pt.x < indent && info.pt.x >= indent - kIndent && HasChildren(node)) ? TVHT_ONITEMBUTTON
                                                                                            : TVHT_ONITEMLABEL;
    return node;
}

void OnTouch(HWND hwnd, TreeState& s, LPARAM where) {
    if (GetFocus() != hwnd) SetFocus(hwnd);
    TVHITTESTINFO info{POINT{static_cast<SHORT>(LOWORD(where)), static_cast<SHORT>(HIWORD(where))}, 0, nullptr};
    Node* node = HitTest(hwnd, s, info);
    NMHDR header{};
    if (NotifyParent(hwnd, NM_CLICK, &header) != 0 || !IsWindow(hwnd)) return;
    if (node == nullptr) return;
    if (info.flags == TVHT_ONITEMBUTTON) Expand(hwnd, s, node, TVE_TOGGLE);
    else Select(hwnd, s, node, TVC_BYMOUSE);
}

void OnKeyDown(HWND hwnd, TreeState& s, WPARAM key) {
    NMTVKEYDOWN down{};
    down.wVKey = static_cast<WORD>(key);
    NotifyParent(hwnd, TVN_KEYDOWN, &down.hdr);
    if (!IsWindow(hwnd)) return;
    Node* caret = s.caret;
    if (caret == nullptr) {
        if ((key == VK_UP || key == VK_DOWN || key == VK_HOME) && !s.root.children.empty())
            Select(hwnd, s, s.root.children.front().get(), TVC_BYKEYBOARD);
        return;
    }
    Node* next = nullptr;
    switch (key) {
    case VK_UP:
        next = VisibleStep(s, caret, -1);
        break;
    case VK_DOWN:
        next = VisibleStep(s, caret, 1);
        break;
    case VK_HOME:
        next = s.root.children.front().get();
        break;
    case VK_LEFT:
        if (Expanded(caret)) Expand(hwnd, s, caret, TVE_COLLAPSE);
        else if (caret->parent != &s.root) next = caret->parent;
        break;
    case VK_RIGHT:
        if (HasChildren(caret) && !Expanded(caret)) Expand(hwnd, s, caret, TVE_EXPAND);
        else if (!caret->children.empty()) next = caret->children.front().get();
        break;
    default:
        break;
    }
    if (next) Select(hwnd, s, next, TVC_BYKEYBOARD);
}

void DrawButton(HDC dc, const RECT& row, int indent, bool expanded) {
    int x = indent - kIndent + (kIndent - kButton) / 2;
    int y = row.top + (row.bottom - row.top - kButton) / 2;
    RECT box{x, y, x + kButton, y + kButton};
    FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
    int mid = y + kButton / 2;
    MoveToEx(dc, x + 2, mid, nullptr);
    LineTo(dc, x + kButton - 2, mid);
    if (!expanded) {
        MoveToEx(dc, x + kButton / 2, y + 2, nullptr);
        LineTo(dc, x + kButton / 2, y + kButton - 2);
    }
}

void PaintTree(HWND hwnd, HDC dc) {
    TreeState* s = StateOf(hwnd);
    if (s == nullptr) return;
    std::vector<Node*> visible = VisibleItems(*s);
    const bool buttons = (WindowStyleOf(hwnd) & TVS_HASBUTTONS) != 0;
    const bool showSelection = s->focused || (WindowStyleOf(hwnd) & TVS_SHOWSELALWAYS);
    int last = std::min(static_cast<int>(visible.size()), s->top + RowsPerPage(hwnd) + 1);
    for (int row = s->top; row < last; ++row) {
        Node* node = visible[static_cast<size_t>(row)];
        RECT whole;
        RECT label;
        ItemRect(hwnd, *s, node, false, &whole);
        ItemRect(hwnd, *s, node, true, &label);
        if (buttons && HasChildren(node)) DrawButton(dc, whole, label.left, Expanded(node));
        const bool selected = node == s->caret && showSelection;
        SetBkMode(dc, TRANSPARENT);
        if (selected) {
            FillRect(dc, &label, GetSysColorBrush(s->focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
            SetTextColor(dc, GetSysColor(s->focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        } else {
            SetTextColor(dc, s->textColor);
        }
        RECT text = label;
        InflateRect(&text, -kRowPadding / 2, 0);
        DrawTextW(dc, node->text.c_str(), static_cast<int>(node->text.size()), &text,
                  DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (selected && s->focused) DrawFocusRect(dc, &label);
    }
}

LRESULT TreeMessage(HWND hwnd, TreeState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    auto item = reinterpret_cast<HTREEITEM>(lParam);
    switch (message) {
    case WM_ERASEBKGND:
        return EraseWithColor(hwnd, wParam, s.bkColor);
    case WM_PAINT:
        PaintControl(hwnd, wParam, PaintTree);
        return 0;
    case WM_LBUTTONDOWN:
        OnTouch(hwnd, s, lParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(hwnd, s, wParam);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        s.focused = message == WM_SETFOCUS;
        InvalidateRect(hwnd, nullptr, TRUE);
        NMHDR header{};
        NotifyParent(hwnd, s.focused ? NM_SETFOCUS : NM_KILLFOCUS, &header);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case TVM_INSERTITEMW:
        return lParam ? reinterpret_cast<LRESULT>(Insert(hwnd, s, *reinterpret_cast<const TVINSERTSTRUCTW*>(lParam)))
                      : 0;
    case TVM_DELETEITEM:
        return Delete(hwnd, s, item);
    case TVM_EXPAND: {
        Node* node = NodeOf(s, item);
        return node ? Expand(hwnd, s, node, static_cast<UINT>(wParam)) : FALSE;
    }
    case TVM_GETNEXTITEM:
        return reinterpret_cast<LRESULT>(Handle(NextItem(s, static_cast<UINT>(wParam), item)));
    case TVM_SELECTITEM: {
        Node* node = NodeOf(s, item);
        if (wParam == TVGN_CARET) return (node || item == nullptr) && Select(hwnd, s, node, TVC_UNKNOWN);
        if (wParam == TVGN_FIRSTVISIBLE && node) {
            EnsureVisible(hwnd, s, node);
            s.top = RowOf(s, node);
            ClampTop(hwnd, s);
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        }
        return FALSE;
    }
    case TVM_GETITEMW:
    case TVM_SETITEMW: {
        auto* tv = reinterpret_cast<TVITEMW*>(lParam);
        Node* node = tv ? NodeOf(s, tv->hItem) : nullptr;
        if (node == nullptr) return FALSE;
        if (message == TVM_GETITEMW) {
            FillItem(node, *tv);
        } else {
            StoreItem(node, *tv);
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return TRUE;
    }
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(s.live.size());
    case TVM_GETVISIBLECOUNT:
        return RowsPerPage(hwnd);
    case TVM_GETITEMHEIGHT:
        return RowHeight(hwnd);
    case TVM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        HTREEITEM asked = nullptr;
        if (rect) std::memcpy(&asked, rect, sizeof asked);  // the item travels in the rectangle
        Node* node = NodeOf(s, asked);
        return node && ItemRect(hwnd, s, node, wParam != 0, rect);
    }
    case TVM_HITTEST:
        return lParam ? reinterpret_cast<LRESULT>(Handle(HitTest(hwnd, s, *reinterpret_cast<TVHITTESTINFO*>(lParam))))
                      : 0;
    case TVM_ENSUREVISIBLE: {
        Node* node = NodeOf(s, item);
        if (node) EnsureVisible(hwnd, s, node);
        return node != nullptr;
    }
    case TVM_SETBKCOLOR:
    case TVM_SETTEXTCOLOR: {
        COLORREF& color = message == TVM_SETBKCOLOR ? s.bkColor : s.textColor;
        COLORREF old = color;
        color = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return old;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void RegisterTreeViewClass() { RegisterControlClass(WC_TREEVIEW, ControlStateProc<TreeState, TreeMessage>); }
