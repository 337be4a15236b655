// CRulePage: what the access-control and attendance-rule pages share. The
// skin's page background is painted through a 320 x 240 memory bitmap, then
// each transparent widget copies its part of it and shows itself; labels and
// the dialog draw transparent text on a PANELCOLOR brush; "EditEnter" moves
// the focus to the next control unless the page takes it; "SBSELChange"
// reaches the page's OnSBSelChange. A page with a Set button sets on a tap
// on it, on Enter on it and on the release of F1 anywhere on the page.
#pragma once

#include <vector>

#include "panel/CPTreeBase.h"
#include "platform/ui/image.h"
#include "widgets/FontStatic.h"
#include "widgets/JHSelectBox.h"

class CRulePage : public CCPTreeBase {
public:
    // `section`: the language file's section of the page's texts;
    // `setButtonId`: the id of the page's Set button, 0 when it has none.
    CRulePage(UINT templateId, const char16_t* section, int setButtonId = 0);

    // The widgets that copy the page background, in capture order. Labels
    // are kept apart: they draw their copy only once they captured it. (A
    // group of rows that several pages share registers its own widgets.)
    void AddCanvas(CJHCanvas& widget) { m_canvases.push_back(&widget); }
    void AddLabel(CFontStatic& label) { m_labels.push_back(&label); }
    // A select box in the panel's colour (PANELCOLOR as it is now).
    void AddPanelSelector(CJHSelectBox& box);
    // Plain controls hidden with the widgets and shown after the capture.
    void AddField(CWnd& field) { m_fields.push_back(&field); }

    // F1 of a page with a Set button sets on its release; every F1 key
    // message stops here.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // The page's text `key` (GetLangText in the page's section).
    CString Text(const char16_t* key, const char16_t* defaultText) const;
    // What a field holds, as typed.
    static CString FieldText(const CWnd& field);
    // Shows `text` in the message box, then gives `focus` the focus.
    static void Refuse(const CString& text, CWnd& focus);

    // Hides every widget and field and marks each widget for a fresh copy
    // of the background: the next background paint shows them again.
    void HideForCapture();

    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // "EditEnter" from control `id`: the Set button sets, any other control
    // moves the focus on. Returns 1.
    virtual LRESULT OnEditEnter(UINT id);
    // "SBSELChange" from select box `id`. Returns 0 when not acted on.
    virtual LRESULT OnSBSelChange(UINT id);
    // What the Set button does.
    virtual void OnSet() {}

private:
    bool IsSetButton(UINT id) const { return m_setButtonId != 0 && static_cast<int>(id) == m_setButtonId; }

    const char16_t* m_section;
    int m_setButtonId;
    CxImage m_background;
    CBrush m_panelBrush;
    COLORREF m_brushColor = 0;
    std::vector<CJHCanvas*> m_canvases;
    std::vector<CFontStatic*> m_labels;
    std::vector<CWnd*> m_fields;
};
