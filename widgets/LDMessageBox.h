// CLDMessageBox: the modal message box of the whole system. A small skinned
// box centred on its owner (or the screen) showing a word-wrapped message
// and one or two key labels; Enter confirms (IDOK), Esc refuses (IDCANCEL),
// both on key-up; taps do nothing; no time-out. The screen under the box is
// saved when it opens and painted back when it closes.
//
// It stands in front of every window. A scripted run answers it with
// "answer yes|no|ok" given while it shows or before it opens (yes and ok
// confirm, no refuses); every box reports its text (ReportMessageBox).
// Without a skin image (the skin folder not yet known) it cannot be drawn:
// HasBackground tells, and the caller shows the system box instead.
#pragma once

#include <memory>

#include "platform/ui/image.h"
#include "platform/ui/script.h"
#include "widgets/ScreenSnapshot.h"
#include "widgets/WidgetRules.h"

class CLDMessageBox : public CDialog {
    DECLARE_DYNAMIC(CLDMessageBox)

public:
    static constexpr UINT kTemplate = 170;
    static constexpr UINT kConfirmMessage = WM_USER + 103;
    static constexpr UINT kRefuseMessage = WM_USER + 104;

    explicit CLDMessageBox(BOOL twoButtons, CWnd* parent = nullptr);
    ~CLDMessageBox() override;

    void SetText(const CString& text) { m_text = text; }
    const CString& Text() const { return m_text; }
    bool HasBackground() const { return m_background.IsValid(); }
    // Where the message may stand, client coordinates: inside the frame,
    // above the key labels.
    CRect TextArea() const;

    // `text` broken into lines that fit the width of `textRect` on `dc`
    // (CR LF at the space before the word that overflows; a word longer than
    // the line is cut), and in `wrappedRect` the text rectangle moved so
    // that the block is centred vertically. `wrapped` tells whether a break
    // was inserted.
    static CString WrapText(CDC* dc, CString text, const CRect& textRect, CRect* wrappedRect, bool* wrapped);

protected:
    void PreSubclassWindow() override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CxImage m_background;
    CString m_text;
    CFont m_font;
    std::unique_ptr<CScreenSnapshot> m_snapshot;
    std::unique_ptr<WaitingMessageBox> m_waiting;
    BOOL m_twoButtons;
    CString m_refuseLabel;
    CString m_confirmLabel;
};
