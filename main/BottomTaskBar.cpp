#include "main/BottomTaskBar.h"

#include "platform/ui/windowdc.h"

namespace {

constexpr int kDefaultHeight = 26;
constexpr COLORREF kBarColour = RGB(0x49, 0x29, 0x06);
constexpr COLORREF kTextColour = RGB(0xDF, 0xDF, 0xDF);

int HeightOf(const CxImage& background) {
    return background.IsValid() ? static_cast<int>(background.GetHeight()) : kDefaultHeight;
}

}  // namespace

BOOL CBottomTaskBar::Create(CWnd* parent, const CString& skinDir) {
    m_background.Load(skinDir + u"TaskPlate.png", CXIMAGE_FORMAT_PNG);
    const int height = Height();
    RECT rect = {0, 240 - height, 320, 240};
    return CWnd::Create(WC_STATIC, u"", WS_CHILD | WS_VISIBLE, rect, parent, 0);
}

int CBottomTaskBar::Height() const { return HeightOf(m_background); }

int CBottomTaskBar::HeightFor(const CString& skinDir) {
    return HeightOf(CxImage(skinDir + u"TaskPlate.png", CXIMAGE_FORMAT_PNG));
}

void CBottomTaskBar::SetHint(const CString& text, int mode) {
    if (mode == -1) {
        m_text = m_previousText;
        m_mode = m_previousMode;
        return;
    }
    m_previousText = m_text;
    m_previousMode = m_mode;
    m_text = text;
    m_mode = mode;
}

BOOL CBottomTaskBar::OnEraseBkgnd(CDC* /*dc*/) { return TRUE; }

void CBottomTaskBar::OnPaint() {
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    if (m_background.IsValid())
        m_background.Draw(dc.GetSafeHdc(), 0, 0, client.right, client.bottom);
    else
        dc.FillSolidRect(&client, kBarColour);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kTextColour);
    RECT text = {client.left + 6, client.top, client.right - 6, client.bottom};
    dc.DrawText(m_text, &text, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
}
