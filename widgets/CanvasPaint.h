// The paint of a transparent widget: begins painting, opens an off-screen
// DC over the client area and puts the widget's copy of the page into it.
// The content goes into Dc(); the end of the scope copies the picture to the
// screen in one BitBlt and ends painting.
#pragma once

#include "widgets/MemoryDC.h"

// The off-screen half of it, over a DC the caller has opened: for widgets
// that go on using the screen DC once their picture is on it.
class COffscreenCanvas {
public:
    // `Widget` has DrawBackground(CDC*): the canvases and the widgets that
    // carry their own copy of the page.
    template <class Widget>
    COffscreenCanvas(Widget* widget, CDC* screen) : m_client(ClientRect(widget)), m_memory(screen, m_client) {
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

    CRect m_client;
    CMemoryDC m_memory;
};

class CCanvasPaint {
public:
    template <class Widget>
    explicit CCanvasPaint(Widget* widget) : m_paint(widget), m_canvas(widget, &m_paint) {}

    CDC& Dc() { return m_canvas.Dc(); }
    const CRect& Client() const { return m_canvas.Client(); }

private:
    CPaintDC m_paint;
    COffscreenCanvas m_canvas;
};
