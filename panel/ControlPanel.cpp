#include "panel/ControlPanel.h"

#include <algorithm>

#include "main/TaskBarHint.h"
#include "panel/PageRegistry.h"

namespace {

enum : int { kFirstIconId = 1001 };

// The icons' places: four columns, two rows centred in the room below the
// title bar.
constexpr int kIconWidth = 72;
constexpr int kIconHeight = 64;
constexpr int kColumnStep = 78;
constexpr int kFirstColumn = 7;

std::vector<DialogItemTemplate> PanelItems() {
    std::vector<DialogItemTemplate> items;
    for (int i = 0; i < CControlPanel::kGridSlots; ++i)
        items.push_back({kFirstIconId + i, u"STATIC", u"", 0, 0, 0, kIconWidth, kIconHeight, 0, true});
    return items;
}

const DialogTemplate kPanelTemplate{CControlPanel::IDD, WS_POPUP, 0, 0, 320, 240, u"", PanelItems()};
const DialogTemplateEntry kPanelEntry(kPanelTemplate);

CControlPanel* g_openPanel = nullptr;

}  // namespace

CControlPanel::CControlPanel(CWnd* parent, UINT startNode) : CPanelScreen(IDD, parent), m_startNode(startNode) {}

CControlPanel::~CControlPanel() {
    if (g_openPanel == this) g_openPanel = nullptr;
}

CControlPanel* CControlPanel::Open() { return g_openPanel; }

CCPTreeBase* CControlPanel::PageOf(UINT node) const {
    const auto found = m_pages.find(node);
    return found == m_pages.end() ? nullptr : found->second.get();
}

BOOL CControlPanel::OnInitDialog() {
    CDialog::OnInitDialog();
    g_openPanel = this;
    SetControlPanelWindow(this);
    SetUpScreen();
    for (int i = 0; i < kGridSlots; ++i) m_icons[i].SubclassDlgItem(kFirstIconId + i, this);
    // Every page is made once, with the panel; its window on the first visit.
    for (const MenuNode& node : MenuNodes())
        if (!node.hasChildren && IsMenuNodeShown(node.id))
            if (const ControlPanelPageFactory* factory = FindControlPanelPage(node.id)) m_pages[node.id] = (*factory)();
    FillGrid(kMenuRoot, 0);
    ShowGrid();
    if (m_startNode != 0) GotoNode(m_startNode, TRUE);
    return FALSE;
}

void CControlPanel::OnNcDestroy() {
    if (g_openPanel == this) g_openPanel = nullptr;
    if (GetControlPanelWindow() == this) SetControlPanelWindow(nullptr);
    g_nControlPanelState = 0;
    CDialog::OnNcDestroy();
}

CCPTreeBase* CControlPanel::GotoNode(UINT id, BOOL refresh) {
    const MenuNode* node = FindMenuNode(id);
    if (node == nullptr || !IsMenuNodeShown(id)) return nullptr;
    if (node->hasChildren) {
        HideShownPage();
        FillGrid(id, 0);
        ShowGrid();
        return PageOf(id);
    }
    CCPTreeBase* page = PageOf(id);
    if (page == nullptr) return nullptr;
    if (page->GetSafeHwnd() == nullptr) {
        if (!page->Create(this)) return page;
        const CRect area = BodyRect();
        page->SetWindowPos(nullptr, area.left, area.top, area.Width(), area.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // A jump from one page to another hides the first without leaving it:
    // it is returned to later.
    if (m_shownPage != page) HideShownPage();
    HideGrid();
    // The grid's area is repainted now, while the page is still hidden: a
    // repaint of the panel after the page has painted would cover the page
    // where the icons were, and the page would not know it.
    UpdateWindow();
    m_selectedNode = id;
    m_shownPage = page;
    ShowTitle(MenuNodeCaption(id));
    page->BringWindowToTop();
    if (!page->EnterPage()) {
        m_shownPage = nullptr;
        ShowGrid();
        return page;
    }
    m_currentNode = ParentNode(id);
    if (refresh) FillGrid(m_currentNode, id);
    return page;
}

void CControlPanel::HideShownPage() {
    if (m_shownPage != nullptr) m_shownPage->ShowWindow(SW_HIDE);
    m_shownPage = nullptr;
}

void CControlPanel::FillGrid(UINT node, UINT selected) {
    m_currentNode = node;
    m_entries = ShownChildren(node);
    if (m_entries.size() > kGridSlots) m_entries.resize(kGridSlots);
    const auto found = std::find(m_entries.begin(), m_entries.end(), selected);
    m_selected = m_entries.empty() ? -1 : static_cast<int>(found == m_entries.end() ? 0 : found - m_entries.begin());
    m_selectedNode = m_selected < 0 ? 0 : m_entries[m_selected];
    for (int i = 0; i < kGridSlots; ++i) {
        CImagaBotton& icon = m_icons[i];
        if (i >= static_cast<int>(m_entries.size())) {
            icon.ShowWindow(SW_HIDE);
            continue;
        }
        icon.SetImage(MenuNodeIconPath(m_entries[i]));
        icon.SetCaption(MenuNodeCaption(m_entries[i]));
        icon.SetSelected(i == m_selected);
        icon.SetNeedCapture(TRUE);
    }
}

// A hidden icon must not capture: the capture shows it again, and the
// panel's next erase (the one that clears the grid's area for a page)
// would bring the icons back over the page.
void CControlPanel::HideGrid() {
    for (CImagaBotton& icon : m_icons) {
        icon.SetNeedCapture(FALSE);
        icon.ShowWindow(SW_HIDE);
    }
}

// The icons show again when the panel's erase lets them capture it.
void CControlPanel::ShowGrid() {
    g_nControlPanelState = ControlPanelShowsMenu;
    for (size_t i = 0; i < m_entries.size(); ++i) m_icons[i].SetNeedCapture(TRUE);
    ShowTitle(MenuNodeCaption(m_currentNode));
    SetFocus();
    Invalidate(TRUE);
}

void CControlPanel::Select(int index) {
    if (index == m_selected || index < 0 || index >= static_cast<int>(m_entries.size())) return;
    if (m_selected >= 0) {
        m_icons[m_selected].SetSelected(false);
        m_icons[m_selected].Invalidate(FALSE);
    }
    m_selected = index;
    m_selectedNode = m_entries[index];
    m_icons[index].SetSelected(true);
    m_icons[index].Invalidate(FALSE);
}

void CControlPanel::OpenSelected() {
    if (m_selected >= 0) GotoNode(m_entries[m_selected], TRUE);
}

void CControlPanel::GoUp() {
    if (m_currentNode == kMenuRoot) {
        EndDialog(IDCANCEL);
        return;
    }
    FillGrid(ParentNode(m_currentNode), m_currentNode);
    ShowGrid();
}

void CControlPanel::OnPageLeave(CCPTreeBase* page) {
    if (page != m_shownPage) return;
    m_shownPage = nullptr;
    FillGrid(m_currentNode, m_selectedNode);
    ShowGrid();
}

BOOL CControlPanel::OnEraseBkgnd(CDC* dc) {
    PaintBackground(dc);
    if (m_shownPage != nullptr) return TRUE;
    const CRect body = BodyRect();
    const int rowGap = (body.Height() - 2 * kIconHeight) / 3;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const int column = static_cast<int>(i) % kGridColumns;
        const int row = static_cast<int>(i) / kGridColumns;
        const int x = kFirstColumn + column * kColumnStep;
        const int y = body.top + rowGap + row * (kIconHeight + rowGap);
        m_icons[i].MoveAndCaptureBackground(this, dc, x, y, 1);
    }
    return TRUE;
}

// The grid's keys: arrows move the selection (act on the key going down, so
// that a held key repeats), Enter opens and ESC goes up (on the key coming
// up, so that its other half does not reach what opens).
bool CControlPanel::TakeGridKey(const MSG& msg) {
    const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const int count = static_cast<int>(m_entries.size());
    switch (msg.wParam) {
        case VK_LEFT:
            if (down && count > 0) Select((m_selected + count - 1) % count);
            return true;
        case VK_RIGHT:
            if (down && count > 0) Select((m_selected + 1) % count);
            return true;
        case VK_UP:
            if (down) Select(m_selected - kGridColumns);
            return true;
        case VK_DOWN:
            if (down) Select(m_selected + kGridColumns);
            return true;
        case VK_RETURN:
            if (!down) OpenSelected();
            return true;
        case VK_ESCAPE:
            if (!down) GoUp();
            return true;
        default:
            return false;
    }
}

BOOL CControlPanel::PreTranslateMessage(MSG* msg) {
    if (m_shownPage == nullptr && IsKeyMessage(msg->message) && TakeGridKey(*msg)) return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

BOOL CControlPanel::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(LOWORD(wParam)) - kFirstIconId;
    if (HIWORD(wParam) == STN_CLICKED && index >= 0 && index < static_cast<int>(m_entries.size())) {
        if (m_shownPage == nullptr) {
            Select(index);
            OpenSelected();
        }
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CControlPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAGELEAVE) {
        OnPageLeave(reinterpret_cast<CCPTreeBase*>(wParam));
        return 1;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void RunControlPanel(CWnd* owner, UINT startNode) {
    if (CControlPanel* open = CControlPanel::Open()) {
        if (startNode != 0) open->GotoNode(startNode, TRUE);
        return;
    }
    CControlPanel panel(owner, startNode);
    panel.DoModal();
}
