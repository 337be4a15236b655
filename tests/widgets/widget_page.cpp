#include "tests/widgets/widget_page.h"

#include "widgets/WidgetRules.h"

namespace {

const DialogTemplate kPageTemplate{CWidgetTestPage::kTemplate, WS_POPUP, 0, 0, 320, 240, u"Widgets", {}};
const DialogTemplateEntry kPageEntry(kPageTemplate);

}  // namespace

CWidgetTestPage::CWidgetTestPage() : CDialog(kTemplate) {}

BOOL CWidgetTestPage::CreatePage(std::function<void(CWidgetTestPage&)> place) {
    m_place = std::move(place);
    if (!Create(kTemplate)) return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CWidgetTestPage::AddWidget(CJHCanvas& widget, int id, int x, int y, int cx, int cy, const char16_t* text) {
    ::CreateWindowExW(0, u"STATIC", text, WS_CHILD | WS_VISIBLE, x, y, cx, cy, m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    widget.SubclassDlgItem(id, this);
    widget.SetNeedCapture(TRUE);
    m_widgets.push_back(&widget);
}

BOOL CWidgetTestPage::OnInitDialog() {
    CDialog::OnInitDialog();
    m_background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
    if (m_place) m_place(*this);
    return TRUE;
}

BOOL CWidgetTestPage::OnEraseBkgnd(CDC* dc) {
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(dc, 320, 240);
    CBitmap* previous = memory.SelectObject(&bitmap);
    m_background.Draw(memory, 0, 0);
    dc->BitBlt(0, 0, 320, 240, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
    for (auto& capture : captures) capture(dc);
    for (CJHCanvas* widget : m_widgets) widget->CaptureBackground(this, dc, 1);
    return TRUE;
}

BOOL CWidgetTestPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CWidgetTestPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EditEnterMessage() || message == SelChangeMessage()) {
        registered.emplace_back(message, wParam);
        return 1;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

WidgetTest::WidgetTest() {
    std::filesystem::copy(QUILLON_FACTORY_IMAGE_DIR, root.Host(), std::filesystem::copy_options::recursive);
    SetDeviceRoot(root.Host());
    g_MachineConfig.SkinDir = u"\\NandFlash\\zeta42\\Skin\\flower\\";
    g_MachineConfig.PANELCOLOR = 0xFFC99C;
    g_MachineConfig.MachineID = u"1";
    UseLanguage(u"English");
}

WidgetTest::~WidgetTest() {
    if (page.m_hWnd != nullptr) page.DestroyWindow();
    g_LangDoc.ParseText(u"");
}

void WidgetTest::UseLanguage(const char16_t* language) {
    g_MachineConfig.LanguageName = language;
    ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
}
