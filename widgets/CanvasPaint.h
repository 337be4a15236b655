// The paint of a transparent widget: begins painting, opens an off-screen
// DC over the client area and puts the widget's copy of the page into it.
// The content goes into Dc(); the end of the scope copies the picture to the
// screen in one BitBlt and ends painting.
#pragma once

#include "widgets/MemoryDC.h"

class CCanvasPaint {
public:
    // `Widget` has DrawBackground(CDC*): the canvases and the buttons that
    // carry their own copy of the page.
    template <class Widget>
    explicit CCanvasPaint(Widget* widget) : m_paint(widget), m_client(ClientRect(widget)), m_memory(&m_paint, m_client) {
        widget->DrawBackground(&m_memory);
    }

    CDC& Dc() { return m_memory; }
    const CRect& Client() const { return m_client; }

private:
    static CRect ClientRect(const CWnd* widget) {
        CRect client;
        widget->GetClientRect(&client);
        return client;
    }

    CPaintDC m_paint;
    CRect m_client;
    CMemoryDC m_memory;
};
