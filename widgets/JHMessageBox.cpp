#include "widgets/JHMessageBox.h"

#include <cstdlib>

#include "core/AppMessageBox.h"
#include "platform/base/utf.h"
#include "widgets/MemoryDC.h"
#include "widgets/ScreenSnapshot.h"
#include "widgets/WidgetRules.h"

IMPLEMENT_DYNAMIC(CJHMessageBox, CDialog)

namespace {

const DialogTemplate kBoxTemplate{CJHMessageBox::kTemplate,
                                  WS_POPUP,
                                  0,
                                  0,
                                  163,
                                  59,
                                  u"",
                                  {
                                      // No tab stops: the box itself keeps the focus and reads the keys.
                                      {CJHMessageBox::kYesId, WC_BUTTON, u"Yes", BS_PUSHBUTTON, 7, 7, 60, 27},
                                      {CJHMessageBox::kNoId, WC_BUTTON, u"No", BS_PUSHBUTTON, 88, 7, 60, 27},
                                  }};
const DialogTemplateEntry kBoxEntry(kBoxTemplate);

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
constexpr UINT kAutoCloseTimer = 1;
constexpr UINT kAutoClosePeriodMs = 1000;
constexpr int kMaxWordlessSpaces = 3;
// The frame: the top image's height, the margins around the text, and the
// buttons' places from the box's bottom right corner.
constexpr int kFrameTopHeight = 40;
constexpr int kTextLeft = 15;
constexpr int kBoxExtraWidth = 33;
constexpr int kBoxExtraHeight = 105;
constexpr int kNoFromRight = 100;
constexpr int kYesFromRight = 200;
constexpr int kButtonsFromBottom = 55;
constexpr UINT kMeasureWords = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
constexpr UINT kDrawWords = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
constexpr int kCloseCommand = 8;
constexpr WPARAM kDragByCaption = 0xF012;  // SC_MOVE | HTCAPTION

bool IsArrow(UINT key) { return key >= VK_LEFT && key <= VK_DOWN; }

bool IsKeyPress(UINT message) { return message == WM_KEYDOWN || message == WM_KEYUP; }

}  // namespace

CJHMessageBox::CJHMessageBox(CWnd* parent) : CDialog(kTemplate, parent) {}

CJHMessageBox::~CJHMessageBox() {
    m_backdropDC.DeleteDC();
    m_backdrop.DeleteObject();
}

void CJHMessageBox::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kYesId, m_yes);
    DDX_Control(dx, kNoId, m_no);
}

BOOL CJHMessageBox::CaptureScreen() {
    m_shade.Load(SkinPath(u"messagebox\\MessageBoxBK.png"), CXIMAGE_FORMAT_PNG);
    // The frame's corners are transparent: the shaded screen shows there,
    // as it stands once every pending update is painted.
    PaintPendingWindows();
    CDC display;
    display.CreateDC(u"DISPLAY", nullptr, nullptr, nullptr);
    m_backdropDC.DeleteDC();
    m_backdrop.DeleteObject();
    m_backdropDC.CreateCompatibleDC(&display);
    m_backdrop.CreateCompatibleBitmap(&display, kScreenWidth, kScreenHeight);
    m_previousBitmap = m_backdropDC.SelectObject(&m_backdrop);
    m_backdropDC.BitBlt(0, 0, kScreenWidth, kScreenHeight, &display, 0, 0, SRCCOPY);
    m_shade.Draw(m_backdropDC, 0, 0, -1, -1, nullptr, true);
    m_backdropDC.SelectObject(m_previousBitmap);
    display.DeleteDC();
    m_backdropReady = TRUE;
    return TRUE;
}

BOOL CJHMessageBox::CalcLayout() {
    int spaces = 0;
    for (int i = 0; i < m_text.GetLength(); ++i)
        if (m_text[i] == u' ') ++spaces;
    m_textRect.SetRect(0, 0, kTextWidth, kTextWidth);
    CDC* dc = GetDC();
    CFont* previousFont = m_font != nullptr ? dc->SelectObject(m_font) : nullptr;
    if (spaces <= kMaxWordlessSpaces) {
        // Texts without word gaps (Chinese) are broken between any two characters.
        CRect measured;
        m_text = WrapByCharacters(dc, m_text, m_textRect, &measured);
        m_textRect = measured;
    } else {
        dc->DrawText(m_text, m_textRect, kMeasureWords);
    }
    m_textRect.right = kTextWidth;
    const int height = m_textRect.Height();
    m_middleCount = height / kSliceHeight + (height % kSliceHeight != 0 ? 1 : 0);
    if (m_text.IsEmpty() || m_middleCount < 1) m_middleCount = 1;
    m_textRect.bottom = m_textRect.top + kSliceHeight * m_middleCount;
    if (m_textRect.Height() > kMaxTextHeight) m_textRect.bottom = m_textRect.top + kMaxTextHeight;
    m_boxRect.SetRect(0, 0, m_textRect.Width() + kBoxExtraWidth, m_textRect.Height() + kBoxExtraHeight);
    if (previousFont != nullptr) dc->SelectObject(previousFont);
    ReleaseDC(dc);
    return TRUE;
}

CString CJHMessageBox::WrapByCharacters(CDC* dc, const CString& text, const CRect& rect, CRect* measured) {
    const int width = std::abs(rect.right - rect.left);
    CString wrapped = text;
    CString line;
    int lineStart = 0;
    for (int i = 0; i < wrapped.GetLength(); ++i) {
        line += wrapped[i];
        CRect lineRect(0, 0, width, 0);
        dc->DrawText(line, lineRect, DT_CALCRECT);
        if (lineRect.Width() <= width) continue;
        // The break goes before the last character that still fitted, or,
        // when that one opens the line, before the one that overflowed; a
        // lone character wider than the line stays where it is, so the
        // wrap always ends.
        int at = i - 1 > lineStart ? i - 1 : i;
        if (at <= lineStart) continue;
        wrapped.Insert(at, u"\r\n");
        lineStart = at + 2;
        i = at + 1;
        line.Empty();
    }
    *measured = rect;
    dc->DrawText(wrapped, *measured, DT_CALCRECT | DT_WORDBREAK);
    return wrapped;
}

BOOL CJHMessageBox::OnInitDialog() {
    CDialog::OnInitDialog();
    m_buttonUp.Load(SkinPath(u"ControlPanel\\buttonU.png"), CXIMAGE_FORMAT_PNG);
    m_buttonDown.Load(SkinPath(u"ControlPanel\\buttonD.png"), CXIMAGE_FORMAT_PNG);
    m_frameTop.Load(SkinPath(u"messagebox\\top.png"), CXIMAGE_FORMAT_PNG);
    m_frameBottom.Load(SkinPath(u"messagebox\\botton.png"), CXIMAGE_FORMAT_PNG);
    m_frameMiddle.Load(SkinPath(u"messagebox\\Middle.png"), CXIMAGE_FORMAT_PNG);
    for (CJHButton* button : {&m_yes, &m_no}) {
        // The pressed slot keeps the up picture: only a disabled toggle
        // shows the down one.
        button->SetImage(0, &m_buttonUp);
        button->SetImage(1, &m_buttonUp);
        button->SetImage(2, &m_buttonDown);
        button->SetImage(3, &m_buttonUp);
        button->SetFont(m_font, TRUE);
    }
    m_yes.ToggleFocusFrame();
    ReportMessageBox(m_text);
    m_waiting = std::make_unique<WaitingMessageBox>(Utf16ToUtf8(m_text.str()), [this](int answer) {
        if (answer == IDNO) ChooseNo();
        else ChooseYes();
    });
    // An answer a script gave before the box opened.
    if (const int queued = TakeMessageBoxAnswer(0)) PostMessage(WM_COMMAND, queued == IDNO ? kNoId : kYesId);
    return TRUE;
}

BOOL CJHMessageBox::PreTranslateMessage(MSG* msg) {
    // A touch may leave the focus on a button; the keys still belong to the box.
    if (IsKeyPress(msg->message) && (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        SendMessage(msg->message, msg->wParam, msg->lParam);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

BOOL CJHMessageBox::OnEraseBkgnd(CDC*) {
    // Started once: restarting it at every repaint would hold the close off
    // for as long as the box keeps repainting.
    if (m_autoCloseSeconds != 0 && !m_timerRunning) {
        SetTimer(kAutoCloseTimer, kAutoClosePeriodMs);
        m_timerRunning = true;
    }
    return TRUE;
}

void CJHMessageBox::OnPaint() {
    CPaintDC paint(this);
    if (!m_backdropReady) return;
    SetWindowPos(nullptr, 0, 0, kScreenWidth, kScreenHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    const CPoint origin = BoxOrigin();
    const int x0 = origin.x;
    const int y0 = origin.y;
    PlaceButtons(x0, y0);
    {
        CMemoryDC memory(&paint, CRect(0, 0, kScreenWidth, kScreenHeight));
        m_previousBitmap = m_backdropDC.SelectObject(&m_backdrop);
        memory.BitBlt(0, 0, kScreenWidth, kScreenHeight, &m_backdropDC, 0, 0, SRCCOPY);
        m_backdropDC.SelectObject(m_previousBitmap);
        DrawFrame(memory, x0, y0);
        CFont* previousFont = m_font != nullptr ? memory.SelectObject(m_font) : nullptr;
        memory.SetBkMode(TRANSPARENT);
        memory.SetTextColor(kWidgetLightText);
        CRect text = PlacedTextRect();
        memory.DrawText(m_text, text, kDrawWords);
        if (previousFont != nullptr) memory.SelectObject(previousFont);
        m_yes.CaptureBackground(this, &memory, 1);
        m_no.CaptureBackground(this, &memory, 1);
    }
    if (m_style & kYesNo) {
        m_yes.ShowWindow(SW_SHOW);
        m_no.ShowWindow(SW_SHOW);
    } else {
        m_no.ShowWindow(SW_HIDE);
        m_yes.ShowWindow(SW_SHOW);
        m_yes.SetWindowText(u"OK");
    }
}

CPoint CJHMessageBox::BoxOrigin() const {
    return CPoint((kScreenWidth - m_boxRect.Width()) / 2, (kScreenHeight - m_boxRect.Height()) / 2);
}

CRect CJHMessageBox::PlacedTextRect() const {
    CRect placed = m_textRect;
    const CPoint origin = BoxOrigin();
    placed.OffsetRect(kTextLeft + origin.x, kFrameTopHeight + origin.y);
    return placed;
}

void CJHMessageBox::PlaceButtons(int x0, int y0) {
    const int top = y0 + m_boxRect.Height() - kButtonsFromBottom;
    const int right = x0 + m_boxRect.Width();
    m_no.SetWindowPos(nullptr, right - kNoFromRight, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_yes.SetWindowPos(nullptr, right - kYesFromRight, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CJHMessageBox::DrawFrame(CDC& dc, int x0, int y0) {
    m_frameTop.Draw(dc, x0, y0, -1, -1, nullptr, true);
    for (int i = 0; i < m_middleCount; ++i)
        m_frameMiddle.Draw(dc, x0, y0 + kFrameTopHeight + kSliceHeight * i, -1, -1, nullptr, true);
    m_frameBottom.Draw(dc, x0, y0 + kFrameTopHeight + kSliceHeight * m_middleCount, -1, -1, nullptr, true);
}

void CJHMessageBox::OnLButtonDown(UINT, CPoint) { SendMessage(WM_SYSCOMMAND, kDragByCaption, 0); }

BOOL CJHMessageBox::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case kYesId:
        ChooseYes();
        return TRUE;
    case kNoId:
        ChooseNo();
        return TRUE;
    case IDOK:
    case IDCANCEL:
    case kCloseCommand:
        // The dialog manager's own Enter and Esc never close the box.
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CJHMessageBox::OnKeyDown(UINT ch, UINT, UINT) { m_lastKeyDown = ch; }

void CJHMessageBox::OnKeyUp(UINT ch, UINT, UINT) {
    // A key that went down before the box opened is not an answer.
    if (ch != m_lastKeyDown) return;
    if (IsArrow(ch)) {
        // With one button there is nowhere to move the frame to.
        if (m_style & kYesNo) {
            m_yes.ToggleFocusFrame();
            m_no.ToggleFocusFrame();
        }
    } else if (ch == VK_RETURN) {
        if (m_yes.HasFocusFrame()) ChooseYes();
        else if (m_no.HasFocusFrame()) ChooseNo();
    } else if (ch == VK_ESCAPE) {
        ChooseNo();
    }
}

void CJHMessageBox::OnTimer(UINT_PTR id) {
    if (id != kAutoCloseTimer) {
        CDialog::OnTimer(id);
        return;
    }
    ++m_elapsedSeconds;
    if (m_elapsedSeconds < m_autoCloseSeconds) return;
    KillTimer(kAutoCloseTimer);
    m_waiting.reset();
    OnOK();
    m_result = kClosedByTime;
}

void CJHMessageBox::ChooseYes() {
    m_waiting.reset();
    m_result = kYesChosen;
    OnOK();
}

void CJHMessageBox::ChooseNo() {
    m_waiting.reset();
    m_result = kNoChosen;
    if (CWnd* parent = GetParent()) parent->SendMessage(kNoChosenMessage, 0, 0);
    OnOK();
}
