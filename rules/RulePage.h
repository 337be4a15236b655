// CRulePage: what the access-control and attendance-rule pages share. The
// skin's page background is painted through a 320 x 240 memory bitmap, then
// each transparent widget copies its part of it and shows itself; labels and
// the dialog draw transparent text on a PANELCOLOR brush; "EditEnter" moves
// the focus to the next control unless the page takes it; "SBSELChange"
// reaches the page's OnSBSelChange.
#pragma once

#include <vector>

#include "panel/CPTreeBase.h"
#include "platform/ui/image.h"
#include "widgets/FontStatic.h"

class CRulePage : public CCPTreeBase {
public:
    // `section`: the language file's section of the page's texts.
    CRulePage(UINT templateId, const char16_t* section);

protected:
    // The page's text `key` (GetLangText in the page's section).
    CString Text(const char16_t* key, const char16_t* defaultText) const;
    // What a field holds, as typed.
    static CString FieldText(const CWnd& field);

    // The widgets that copy the page background, in capture order. Labels
    // are kept apart: they draw their copy only once they captured it.
    void AddCanvas(CJHCanvas& widget) { m_canvases.push_back(&widget); }
    void AddLabel(CFontStatic& label) { m_labels.push_back(&label); }
    // Plain controls hidden with the widgets and shown after the capture.
    void AddField(CWnd& field) { m_fields.push_back(&field); }
    // Hides every widget and field and marks each widget for a fresh copy
    // of the background: the next background paint shows them again.
    void HideForCapture();

    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // "EditEnter" from control `id`: the focus moves on. Returns 1.
    virtual LRESULT OnEditEnter(UINT id);
    // "SBSELChange" from select box `id`. Returns 0 when not acted on.
    virtual LRESULT OnSBSelChange(UINT id);

private:
    const char16_t* m_section;
    CxImage m_background;
    CBrush m_panelBrush;
    COLORREF m_brushColor = 0;
    std::vector<CJHCanvas*> m_canvases;
    std::vector<CFontStatic*> m_labels;
    std::vector<CWnd*> m_fields;
};
