#include "panel/PanelScreen.h"

#include "core/MachineConfig.h"
#include "main/BottomTaskBar.h"
#include "widgets/MemoryDC.h"

void CPanelScreen::SetUpScreen() {
    SetWindowPos(nullptr, 0, 0, 320, 240 - CBottomTaskBar::HeightFor(g_MachineConfig.SkinDir), SWP_NOZORDER);
    m_background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
    // The bar sizes itself to its image.
    m_title.Create(u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, kTitleBarId);
    m_title.SetNeedCapture(TRUE);
}

void CPanelScreen::ShowTitle(const CString& title) {
    m_title.SetTitle(title);
    m_title.Invalidate(FALSE);
}

void CPanelScreen::PaintBackground(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    {
        CMemoryDC memory(dc, client);
        m_background.Draw(memory, 0, 0);
    }
    m_title.CaptureBackground(this, dc, 1);
}

CRect CPanelScreen::BodyRect() const {
    CRect client;
    GetClientRect(&client);
    client.top = m_title.GetBarHeight();
    return client;
}
