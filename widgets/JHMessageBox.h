// CJHMessageBox: a modal message box drawn from skin images over a frozen,
// shaded copy of the whole screen: a frame of a top, as many 5-pixel middle
// slices as the text needs and a bottom, the text, and one ("OK") or two
// ("Yes", "No") image buttons.
//
// Use, in this order:
//   CJHMessageBox box(parent);
//   box.SetTextFont(&font); box.SetStyle(CJHMessageBox::kYesNo); box.SetAutoClose(5);
//   box.m_text = u"...";
//   box.CaptureScreen();   // before the box covers the screen
//   box.CalcLayout();
//   box.DoModal();         // IDOK always; m_result tells the choice
//
// Keys act on key-up, and only when the same key went down while the box was
// open: an arrow moves the frame between the buttons, Enter chooses the
// framed button, Esc chooses No. Choosing No also sends kNoChosenMessage to
// the parent. With auto-close n the box closes by itself after n seconds
// with the result kClosedByTime. The box reports its text
// (ReportMessageBox), and a script's "answer" chooses Yes (yes, ok) or No.
#pragma once

#include <memory>

#include "platform/ui/image.h"
#include "platform/ui/script.h"
#include "widgets/JHButton.h"

class CJHMessageBox : public CDialog {
    DECLARE_DYNAMIC(CJHMessageBox)

public:
    static constexpr UINT kTemplate = 164;
    static constexpr int kYesId = 1027;
    static constexpr int kNoId = 1028;
    // Style flag: Yes and No; without it a single "OK" button.
    static constexpr UINT kYesNo = 4;
    // Sent (SendMessage) to the parent when No is chosen.
    static constexpr UINT kNoChosenMessage = 2026;
    enum Result { kClosedByTime = 0, kYesChosen = 1, kNoChosen = 2 };

    static constexpr int kTextWidth = 266;
    static constexpr int kMaxTextHeight = 350;
    static constexpr int kSliceHeight = 5;

    explicit CJHMessageBox(CWnd* parent = nullptr);
    ~CJHMessageBox() override;

    // Not owned; the caller keeps it alive while the box exists.
    void SetTextFont(CFont* font) { m_font = font; }
    void SetStyle(UINT style) { m_style = style; }
    void SetAutoClose(UINT seconds) {
        m_autoCloseSeconds = seconds;
        m_elapsedSeconds = 0;
    }
    // The screen as it stands, shaded, as the box's backdrop. TRUE.
    BOOL CaptureScreen();
    // Wraps and measures m_text and sizes the box. TRUE.
    BOOL CalcLayout();

    // `text` broken by characters so that each line fits the width of
    // `rect` on `dc` (CR LF before the last character that still fitted);
    // `measured` receives the wrapped text's rectangle.
    static CString WrapByCharacters(CDC* dc, const CString& text, const CRect& rect, CRect* measured);

    const CRect& TextRect() const { return m_textRect; }
    // Where the text is drawn, client coordinates: below the frame's top,
    // above the buttons.
    CRect PlacedTextRect() const;
    const CRect& BoxRect() const { return m_boxRect; }
    int MiddleCount() const { return m_middleCount; }

    CString m_text;
    int m_result = kClosedByTime;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnKeyDown(UINT ch, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT ch, UINT repeat, UINT flags) override;
    void OnTimer(UINT_PTR id) override;

private:
    void ChooseYes();
    void ChooseNo();
    // The frame's top left corner: the box centred on the screen.
    CPoint BoxOrigin() const;
    void PlaceButtons(int x0, int y0);
    void DrawFrame(CDC& dc, int x0, int y0);

    CBitmap m_backdrop;
    CBitmap* m_previousBitmap = nullptr;
    CDC m_backdropDC;
    CxImage m_buttonUp;
    CxImage m_buttonDown;
    CxImage m_frameTop;
    CxImage m_frameBottom;
    CxImage m_frameMiddle;
    CxImage m_shade;
    CRect m_textRect;
    CRect m_boxRect;
    BOOL m_backdropReady = FALSE;
    CFont* m_font = nullptr;
    UINT m_style = 0;
    UINT m_autoCloseSeconds = 0;
    UINT m_elapsedSeconds = 0;
    bool m_timerRunning = false;
    UINT m_lastKeyDown = 0;
    CJHButton m_yes;
    CJHButton m_no;
    int m_middleCount = 1;
    std::unique_ptr<WaitingMessageBox> m_waiting;
};
