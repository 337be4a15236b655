// CInputDlg: the on-screen letter keyboard. The keypad has no letter keys,
// so this full-page keyboard lets the arrow keys move a highlight over a
// picture of keys and Enter type the highlighted one; the digit keys type
// digits directly and Backspace removes the last character. Menu closes it
// keeping the text (GetText), Esc closes it with nothing. It covers the
// window it belongs to and gives the screen back as it was when it closes.
#pragma once

#include <memory>

#include "platform/ui/image.h"
#include "widgets/FontStatic.h"
#include "widgets/InputKeys.h"
#include "widgets/ScreenSnapshot.h"

class CInputDlg : public CDialog {
    DECLARE_DYNAMIC(CInputDlg)

public:
    static constexpr UINT kTemplate = 103;
    static constexpr int kEditId = 1306;
    static constexpr int kLabelId = 1359;

    explicit CInputDlg(CWnd* parent = nullptr);
    ~CInputDlg() override;

    // The text typed when the keyboard was closed with Menu; empty after Esc.
    CString GetText() const { return m_result; }

protected:
    void PreSubclassWindow() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;

private:
    void LoadImages();
    void OnKeyReleased(WPARAM key);
    void TypeHighlightedKey();
    void SetEditText(const CString& text);
    void Close(const CString& result);
    void Repaint();

    InputCursor m_cursor;
    int m_cellWidth = 46;
    int m_cellHeight = 27;
    int m_gridX = 0;
    int m_gridY = 0;
    int m_shift = kShiftLower;
    CxImage m_background;
    CxImage m_upperKeys;
    CxImage m_lowerKeys;
    CxImage m_cell;
    CxImage m_cellPressed;
    CxImage m_shiftCell;
    CxImage m_shiftCellPressed;
    CxImage m_capsLock;
    std::unique_ptr<CScreenSnapshot> m_snapshot;
    BYTE m_pressed = FALSE;
    CString m_result;
    CFontStatic m_label;
    CEdit m_edit;
};
