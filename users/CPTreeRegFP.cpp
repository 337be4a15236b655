#include "users/CPTreeRegFP.h"

#include <cstring>
#include <initializer_list>

#include "core/AppDir.h"
#include "core/FpLibraries.h"
#include "core/LangText.h"
#include "core/RegisteredMessages.h"
#include "core/ShowMessage.h"
#include "core/WriteFailureBox.h"
#include "data/DataGlobals.h"
#include "data/FPTemplateStore.h"
#include "data/UserStorage.h"
#include "main/FingerCapture.h"
#include "platform/base/numparse.h"
#include "platform/dev/sound.h"
#include "platform/ui/ddx.h"
#include "platform/ui/dialog.h"
#include "users/CPTreeAddUser.h"
#include "users/FingerTemplates.h"
#include "users/UserRows.h"

namespace {

const char16_t* const kSection = u"CCPTreeRegFP";

enum : int {
    IDC_REGFP_ID = 1031,
    IDC_REGFP_ID_LABEL = 1033,
    IDC_REGFP_FRAME1 = 1039,
    IDC_REGFP_FRAME2 = 1040,
    IDC_REGFP_SENSOR = 1042,
    IDC_REGFP_SAVE = 1043,
    IDC_REGFP_PROMPT = 1159,
    IDC_REGFP_LEFT = 1328,
    IDC_REGFP_RIGHT = 1329,
    IDC_REGFP_FINGER0 = 1330,
    IDC_REGFP_FINGER1 = 1335,
};

constexpr int kFingerIds[CCPTreeRegFP::kFingers] = {IDC_REGFP_FINGER0,     IDC_REGFP_FINGER1,     IDC_REGFP_FINGER1 + 1,
                                                    IDC_REGFP_FINGER1 + 2, IDC_REGFP_FINGER1 + 3, IDC_REGFP_FINGER1 + 4,
                                                    IDC_REGFP_FINGER1 + 5, IDC_REGFP_FINGER1 + 6, IDC_REGFP_FINGER1 + 7,
                                                    IDC_REGFP_FINGER1 + 8};
// Where each finger's indicator lies on the two hands.
constexpr POINT kFingerAt[CCPTreeRegFP::kFingers] = {{114, 124}, {138, 82}, {152, 76}, {168, 82}, {181, 95},
                                                     {99, 124},  {77, 82},  {62, 76},  {47, 82},  {34, 95}};
constexpr POINT kImageAt{229, 89};
// The ID label ends where its field begins (21 pixels wide it lay 4 pixels
// over the field and hid the first digit whenever it was painted last).
constexpr int kIdLabelWidth = 17;
constexpr int kFrameWidth = 64;
constexpr int kFrameHeight = 76;

std::vector<DialogItemTemplate> EnrolmentItems() {
    std::vector<DialogItemTemplate> items{
        {IDC_REGFP_ID_LABEL, u"STATIC", u"", 0, 74, 33, kIdLabelWidth, 15},
        {IDC_REGFP_ID, u"EDIT", u"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 91, 33, 146, 15},
        {IDC_REGFP_PROMPT, u"STATIC", u"", 0, 211, 165, 95, 90},
        {IDC_REGFP_FRAME1, u"STATIC", u"", 0, kImageAt.x, kImageAt.y, kFrameWidth, kFrameHeight, 0, true},
        {IDC_REGFP_FRAME2, u"STATIC", u"", 0, kImageAt.x, kImageAt.y, kFrameWidth, kFrameHeight, 0, true},
        {IDC_REGFP_LEFT, u"STATIC", u"", 0, 214, 124, 15, 15},
        {IDC_REGFP_RIGHT, u"STATIC", u"", 0, 293, 124, 15, 15},
        {IDC_REGFP_SENSOR, u"STATIC", u"", 0, kImageAt.x, kImageAt.y, kFrameWidth, kFrameHeight},
        {IDC_REGFP_SAVE, u"BUTTON", u"", 0, 230, 200, 80, 20, 0, true},
    };
    for (int i = 0; i < CCPTreeRegFP::kFingers; ++i)
        items.push_back({kFingerIds[i], u"STATIC", u"", 0, kFingerAt[i].x, kFingerAt[i].y, 10, 10, 0, true});
    return items;
}

const DialogTemplate kEnrolmentTemplate{CCPTreeRegFP::IDD, WS_CHILD, 0, 0, 320, 216, u"", EnrolmentItems()};
const DialogTemplateEntry kEnrolmentEntry(kEnrolmentTemplate);

constexpr int kPressBufferStride = 89600;
constexpr int kPressClearBytes = 76800;
constexpr int kTemplateSlotBytes = 512;
constexpr int kFlippedBytes = kFpFlipWidth * kFpFlipHeight;

// Fixed buffers, allocated once for the life of the process: the two
// presses, their templates, the image handed to extraction, the turned
// image shown for the newest sensors and the extraction's work room.
struct EnrolmentBuffers {
    BYTE presses[2][kPressBufferStride];
    BYTE templates[2][kTemplateSlotBytes];
    BYTE processing[kCaptureBufferBytes];
    BYTE display[kFlippedBytes];
    BYTE work[kCaptureBufferBytes];
};

EnrolmentBuffers& Buffers() {
    static EnrolmentBuffers* buffers = new EnrolmentBuffers();
    return *buffers;
}

CString Text(LPCWSTR key, LPCWSTR defaultText) { return PageText(kSection, key, defaultText); }

void PlayPrompt(const char16_t* wav) {
    CString path;
    GetAppDir(path);
    sndPlaySoundW(path + wav, SND_ASYNC);
}

int SensorVersion() { return g_FpLib.SMCVersion ? g_FpLib.SMCVersion() : 0; }

// The picture's window may have been hidden with the page's others after a
// save.
void ShowPicture(CImagaBotton& picture) {
    picture.ShowWindow(SW_SHOW);
    picture.SetVisible(true);
}

}  // namespace

CCPTreeRegFP::CCPTreeRegFP() : CCPTreeBase(IDD, nullptr) {}

void CCPTreeRegFP::DoDataExchange(CDataExchange* dx) {
    CCPTreeBase::DoDataExchange(dx);
    DDX_Control(dx, IDC_REGFP_ID, m_editId);
    DDX_Control(dx, IDC_REGFP_ID_LABEL, m_labelId);
    DDX_Control(dx, IDC_REGFP_PROMPT, m_prompt);
    DDX_Control(dx, IDC_REGFP_FRAME1, m_frames[0]);
    DDX_Control(dx, IDC_REGFP_FRAME2, m_frames[1]);
    DDX_Control(dx, IDC_REGFP_LEFT, m_arrowLeft);
    DDX_Control(dx, IDC_REGFP_RIGHT, m_arrowRight);
    DDX_Control(dx, IDC_REGFP_SENSOR, m_sensor);
    DDX_Control(dx, IDC_REGFP_SAVE, m_btnSave);
    for (int i = 0; i < kFingers; ++i) DDX_Control(dx, kFingerIds[i], m_fingers[i]);
}

BOOL CCPTreeRegFP::OnInitDialog() {
    CCPTreeBase::OnInitDialog();
    // The ID label reaches over the left edge of its edit.
    PlaceUnderSiblings(m_labelId);
    m_editId.EnableKeyHint(false);
    m_hands.Load(SkinPath(u"Dialog\\finger-reg.png"), CXIMAGE_FORMAT_PNG);
    m_background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
    return FALSE;
}

void CCPTreeRegFP::LoadTexts() {
    m_btnSave.SetWindowText(Text(u"R0001", u"登记指纹"));
    m_labelId.SetWindowText(Text(u"R0019", u"ID"));
    HideFrames();
    m_editId.SetWindowText(u"");
    m_prompt.SetWindowText(u"");
}

void CCPTreeRegFP::ResetPage() {
    LoadTexts();
    m_prompt.EnableWindow(FALSE);
    m_btnSave.EnableWindow(FALSE);
    m_editId.SetWindowText(u"");
    m_enrolling = false;
    m_state = kStateIdEntry;
    m_finger = 0;
    m_chosenImage = 0;
    m_pressIndex = 0;
}

// A press image takes the place of the sensor picture, which comes back
// when no image is shown.
void CCPTreeRegFP::HideFrames() {
    for (CJHFPShow& frame : m_frames) frame.SetHidden(TRUE);
    m_sensor.ShowWindow(SW_SHOW);
}

void CCPTreeRegFP::LayoutControls() {
    m_labelId.MoveWindow(74, 33, kIdLabelWidth, 15, FALSE);
    m_editId.MoveWindow(91, 33, 146, 15, FALSE);
    for (CWnd* picture : std::initializer_list<CWnd*>{&m_frames[0], &m_frames[1], &m_sensor})
        picture->SetWindowPos(nullptr, kImageAt.x, kImageAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_arrowLeft.MoveWindow(214, 124, 15, 15, FALSE);
    m_arrowRight.MoveWindow(293, 124, 15, 15, FALSE);
    m_prompt.MoveWindow(211, 165, 95, 90, FALSE);
    for (int i = 0; i < kFingers; ++i) m_fingers[i].MoveWindow(kFingerAt[i].x, kFingerAt[i].y, 10, 10, FALSE);
}

void CCPTreeRegFP::MakeIdEditReadOnly() {
    m_editId.SetSel(-1, -1);
    ::HideCaret(m_editId.GetSafeHwnd());
    m_editId.SetReadOnly(TRUE);
}

void CCPTreeRegFP::MakeIdEditWritable() {
    m_editId.SetReadOnly(FALSE);
    m_editId.SetFocus();
    m_editId.SetSel(0, -1);
}

CString CCPTreeRegFP::IdText() const {
    CString text;
    m_editId.GetWindowText(text);
    return text;
}

BOOL CCPTreeRegFP::EnterPage() {
    if (!m_bEnteredFromMenu) {
        // Back from the add-user page: enrolment goes on for the same ID,
        // provided that page did create the user. The hint follows the
        // focus: the add-user field losing it puts its own hint back.
        m_bEnteredFromMenu = 1;
        const BOOL shown = CCPTreeBase::EnterPage();
        m_editId.SetFocus();
        SendTaskBarHint(CString(), 1);
        if (UserRowExists(*GetDatabase(), IdText())) {
            MakeIdEditReadOnly();
        } else {
            m_state = kStateIdEntry;
            for (CRegFPStatic& finger : m_fingers) finger.ShowWindow(SW_HIDE);
            MakeIdEditWritable();
        }
        return shown;
    }
    SendTaskBarHint(CString(), 1);
    for (CRegFPStatic& finger : m_fingers) finger.ResetState();
    ResetPage();
    m_arrowLeft.SetImage(SkinPath(u"Dialog\\EnrollFP_l.png"));
    m_arrowRight.SetImage(SkinPath(u"Dialog\\EnrollFP_r.png"));
    m_sensor.SetImage(SkinPath(u"Dialog\\finger_bg.png"));
    m_sensor.SetOverlayImage(SkinPath(u"Dialog\\Finger.png"));
    for (CImagaBotton* picture : {&m_arrowLeft, &m_arrowRight, &m_sensor}) picture->SetVisible(false);
    // Centred, and broken at blanks: the prompts are wider than the column.
    m_prompt.SetTextFormat(DT_CENTER | DT_WORDBREAK, 12);
    // The page shows 29 rows of the prompt's box, under the picture: two
    // lines of the widget font take 30.
    m_prompt.FitText(true);
    m_labelId.SetTextFormat(0, 12);
    for (CRegFPStatic& finger : m_fingers) {
        finger.SetCaption(CString());
        finger.SetImages(SkinPath(u"\\Dialog\\Finger_r.png"), SkinPath(u"\\Dialog\\Finger_red.png"));
        finger.ShowWindow(SW_HIDE);
    }
    CheckUsbSensorRemoved();
    LayoutControls();
    for (CWnd* widget : std::initializer_list<CWnd*>{&m_prompt, &m_editId, &m_labelId, &m_arrowLeft, &m_arrowRight,
                                                     &m_sensor})
        widget->ShowWindow(SW_HIDE);
    m_prompt.SetNeedCapture(TRUE);
    m_labelId.SetNeedCapture(TRUE);
    for (CJHFPShow& frame : m_frames) frame.SetNeedCapture(TRUE);
    for (CRegFPStatic& finger : m_fingers) finger.SetNeedCapture(TRUE);
    for (CImagaBotton* picture : {&m_arrowLeft, &m_arrowRight, &m_sensor}) picture->SetNeedCapture(TRUE);
    const BOOL shown = CCPTreeBase::EnterPage();
    MakeIdEditWritable();
    return shown;
}

void CCPTreeRegFP::EnrollForUser(CString id, UINT callerNode, CCPTreeBase* callerPage) {
    m_caller.Set(callerNode, callerPage);
    m_editId.SetWindowText(id);
    LookupUser();
}

BOOL CCPTreeRegFP::PreTranslateMessage(MSG* msg) {
    if (msg->message != WM_KEYUP) return CCPTreeBase::PreTranslateMessage(msg);
    switch (msg->wParam) {
        case VK_RETURN:
            return OnEnterKeyUp(msg);
        case VK_LEFT:
        case VK_RIGHT:
            OnArrowKeyUp(static_cast<UINT>(msg->wParam));
            return TRUE;
        case VK_BACK:
            if (m_state != kStateChoosing) return TRUE;
            // The same finger again from its first press.
            m_state = kStateFingerChoice;
            HideFrames();
            m_pressIndex = 0;
            msg->wParam = VK_RETURN;
            return OnEnterKeyUp(msg);
        default:
            return CCPTreeBase::PreTranslateMessage(msg);
    }
}

BOOL CCPTreeRegFP::OnEnterKeyUp(MSG* msg) {
    CString text = IdText();
    text.Trim();
    if (text.IsEmpty() || _wtoi64(text) == 0) return FALSE;
    switch (m_state) {
        case kStateIdEntry:
            if (LookupUser() == kUserDeclined) break;
            CheckFingerEnrolled();
            RefreshFingerIndicators();
            m_state = kStateFingerChoice;
            MakeIdEditReadOnly();
            break;
        case kStateFingerChoice:
            if (!DeleteFingerIfEnrolled(IdText(), m_finger)) return FALSE;
            ShowPicture(m_sensor);
            m_sensor.SetBlink(true);
            m_fingers[m_finger].SetBlink(false);
            SetTimer(kLiftTimer, 200, nullptr);
            m_state = kStateCapturing;
            break;
        case kStateChoosing:
            OnSaveFingerprint();
            if (m_caller.Node() != 0) {
                LeavePage();
            } else {
                SendTaskBarHint(CString(), 1);
                MakeIdEditWritable();
            }
            break;
        default:
            break;
    }
    return CCPTreeBase::PreTranslateMessage(msg);
}

void CCPTreeRegFP::OnArrowKeyUp(UINT key) {
    if (m_state >= kStateFingerChoice) {
        m_editId.SetSel(-1, -1);
        ::HideCaret(m_editId.GetSafeHwnd());
    }
    if (m_state == kStateFingerChoice) {
        m_finger = key == VK_LEFT ? (m_finger + kFingers - 1) % kFingers : (m_finger + 1) % kFingers;
        RefreshFingerIndicators();
    } else if (m_state == kStateChoosing) {
        m_pressIndex = m_pressIndex == 0 ? 1 : 0;
        ShowPressImage(m_pressIndex);
        HighlightChosenImage();
    }
}

CCPTreeRegFP::LookupResult CCPTreeRegFP::LookupUser() {
    const CString id = NormalizeUserId(IdText());
    m_editId.SetWindowText(id);
    if (UserRowExists(*GetDatabase(), id)) {
        RefreshEnrolledFingers(id);
        return kUserFound;
    }
    if (ShowMessage(Text(u"R0009", u"没有找到此工号，是否添加记录？"), 36) != IDYES) {
        MakeIdEditWritable();
        return kUserDeclined;
    }
    m_editId.SetModify(FALSE);
    if (auto* addPage = dynamic_cast<CCPTreeAddUser*>(JumpToPage(CCPTreeAddUser::kNode, TRUE)))
        addPage->AddUserFromEnrolment(id, kNode, this);
    return kUserHandedToAddPage;
}

void CCPTreeRegFP::RefreshEnrolledFingers(const CString& id) {
    for (int i = 0; i < kFingers; ++i) {
        const bool enrolled = FingerRowExists(*GetDatabase(), id, i);
        m_fingers[i].SetEnrolled(enrolled);
        if (enrolled) m_finger = (i + 1) % kFingers;
    }
}

// The marks read from the user's rows stay as they are.
void CCPTreeRegFP::CheckFingerEnrolled() {
    m_prompt.EnableWindow(TRUE);
    HideFrames();
    m_pressIndex = 0;
}

void CCPTreeRegFP::RefreshFingerIndicators() {
    for (int i = 0; i < kFingers; ++i) {
        CRegFPStatic& finger = m_fingers[i];
        if (finger.IsSelected()) finger.SetSelected(false);
        if (i == m_finger) {
            finger.SetSelected(true);
            finger.ShowWindow(SW_SHOW);
            finger.SetBlink(true);
        } else {
            finger.SetBlink(false);
            finger.ShowWindow(finger.IsEnrolled() ? SW_SHOW : SW_HIDE);
        }
        finger.Invalidate(FALSE);
        finger.UpdateWindow();
    }
}

BOOL CCPTreeRegFP::DeleteFingerIfEnrolled(const CString& id, int finger) {
    if (FingerRowExists(*GetDatabase(), id, finger)) {
        if (ShowMessage(Text(u"R0008", u"指纹已经存在是否删除?"), 36) != IDYES) return FALSE;
        SetLock(FALSE);
        CFPTemplateStore* store = GetFPTemplateStore();
        CWriteFailureBox failure;
        if (!failure.Run([&] {
                return store != nullptr && DeleteFingerTemplate(*GetDatabase(), *g_pUserStorage, *store, id, finger);
            })) {
            // The old template stays; so does the finger choice.
            failure.Show();
            return FALSE;
        }
    }
    EnrollStartPress();
    return TRUE;
}

void CCPTreeRegFP::EnrollStartPress() {
    m_enrolling = true;
    PlayPrompt(u"wav\\place_your_finger.wav");
    SetTimer(kLiftTimer, 200, nullptr);
}

int CCPTreeRegFP::EnrollCaptureImage() {
    if (m_pressIndex > 1) return kBadPressIndex;
    BYTE* press = Buffers().presses[m_pressIndex];
    std::memset(press, 0, kPressClearBytes);
    return CaptureFingerImage(press);
}

// The press's image into its frame in the sensor's geometry; the newest
// sensors deliver it turned, so it is turned back for showing.
void CCPTreeRegFP::ShowPressImage(int press) {
    EnrolmentBuffers& buffers = Buffers();
    CJHFPShow& frame = m_frames[press];
    frame.m_nMode = CJHFPShow::kModeFingerprint;
    const int version = SensorVersion();
    frame.m_pImage = buffers.presses[press];
    if (version >= 8) {
        frame.m_nImageWidth = kFpFlipWidth;
        frame.m_nImageHeight = kFpFlipHeight;
        if (g_hUsbFpDll == nullptr) {
            FlipFpImage(buffers.presses[press], buffers.display);
            frame.m_pImage = buffers.display;
        }
    } else if (version == 7) {
        frame.m_nImageWidth = 256;
        frame.m_nImageHeight = 296;
    } else {
        frame.m_nImageWidth = 280;
        frame.m_nImageHeight = 280;
    }
}

int CCPTreeRegFP::EnrollProcessPress() {
    if (m_pressIndex > 1) return kBadPressIndex;
    EnrolmentBuffers& buffers = Buffers();
    BYTE* press = buffers.presses[m_pressIndex];
    g_captureControl = kCaptureSuspend;
    std::memset(press, 0, kPressClearBytes);
    if (!CaptureFingerImage(press)) return kNoImage;
    const int version = SensorVersion();
    const BYTE* input = press;
    if (version >= 8) {
        std::memcpy(buffers.processing, press, g_hUsbFpDll ? kFlippedBytes : kCaptureBufferBytes);
        input = buffers.processing;
    }
    ShowPressImage(m_pressIndex);
    if (!g_FpLib.VeltoProcess || g_FpLib.VeltoProcess(input, buffers.templates[m_pressIndex], buffers.work, 1, 0) != 0)
        return kExtractionFailed;
    m_frames[m_pressIndex].Invalidate(FALSE);
    if (m_pressIndex == 0) {
        CFPTemplateStore* store = GetFPTemplateStore();
        if (store == nullptr) return kExtractionFailed;
        return FindStoredTemplate(buffers.templates[0], *store, version) >= 0 ? kAlreadyEnrolled : kAccepted;
    }
    if (g_FpLib.VeltoMatch &&
        g_FpLib.VeltoMatch(buffers.templates[0], buffers.templates[1], kEnrolMatchLevel) == 0)
        return kAccepted;
    m_pressIndex = 0;
    KillTimer(kPressTimer);
    EnrollStartPress();
    return kStartOver;
}

void CCPTreeRegFP::OnTimer(UINT_PTR id) {
    if (id == kLiftTimer) {
        if (EnrollCaptureImage() == 0 && m_state == kStateCapturing) {
            KillTimer(kLiftTimer);
            SetTimer(kPressTimer, 200, nullptr);
            ShowPrompt(Text(u"R0011", u"请按手指"));
        }
        return;
    }
    if (id == kPressTimer) {
        KillTimer(kPressTimer);
        OnPressTimer();
        return;
    }
    CCPTreeBase::OnTimer(id);
}

void CCPTreeRegFP::OnPressTimer() {
    const int result = EnrollProcessPress();
    switch (result) {
        case kAccepted:
            HighlightChosenImage();
            if (m_pressIndex == 0) {
                m_sensor.SetBlink(false);
                PlayPrompt(u"wav\\place_your_finger_again.wav");
                m_pressIndex = 1;
                ShowPromptWaitLift(CString(), true);
            } else {
                m_state = kStateChoosing;
                ShowPicture(m_arrowLeft);
                ShowPicture(m_arrowRight);
                ShowPrompt(Text(u"R0012", u"请选择一个指纹好的图像"));
                KillTimer(kLiftTimer);
                SendTaskBarHint(Text(u"R0024", u"<-/Try Again"), 1);
            }
            return;
        case kExtractionFailed:
            ShowPromptWaitLift(m_enrolling ? Text(u"R0015", u"特征点提取失败") : CString(), false);
            break;
        case kAlreadyEnrolled:
            ShowPromptWaitLift(m_enrolling ? Text(u"R0016", u"指纹已经注册") : CString(), false);
            break;
        case kStartOver:
            // Timer 2 waits for the finger to lift before the first press.
            return;
        default:
            break;
    }
    if (m_enrolling && m_state == kStateCapturing) SetTimer(kPressTimer, 200, nullptr);
}

void CCPTreeRegFP::ShowPrompt(const CString& text) {
    m_prompt.SetWindowText(text);
    m_prompt.Invalidate(FALSE);
    m_prompt.UpdateWindow();
}

void CCPTreeRegFP::ShowPromptWaitLift(const CString& text, bool append) {
    ShowPrompt(append ? text + Text(u"R0017", u"请离开手指") : text);
    SetTimer(kLiftTimer, 600, nullptr);
}

void CCPTreeRegFP::HighlightChosenImage() {
    for (int i = 0; i < 2; ++i)
        if (i != m_pressIndex) m_frames[i].SetHidden(TRUE);
    CJHFPShow& frame = m_frames[m_pressIndex];
    m_sensor.ShowWindow(SW_HIDE);
    frame.SetHidden(FALSE);
    frame.m_nMode = CJHFPShow::kModeFingerprint;
    // In the paint pass, after the page repaints where the sensor picture was.
    frame.Invalidate(FALSE);
    ShowChosenImageText(m_pressIndex + 1);
}

void CCPTreeRegFP::ShowChosenImageText(int n) {
    m_chosenImage = n;
    CString format, text;
    GetLangFormat(kSection, u"R0018", u"你选择了第%d枚指纹,请保存!", format);
    text.Format(format, n);
    ShowPrompt(text);
}

void CCPTreeRegFP::OnSaveFingerprint() {
    const CString id = IdText();
    EnrollSaveFingerprint(m_pressIndex + 1);
    ResetPage();
    m_editId.SetWindowText(id);
    for (CWnd* widget : std::initializer_list<CWnd*>{&m_prompt, &m_editId, &m_labelId, &m_arrowLeft, &m_arrowRight,
                                                     &m_sensor})
        widget->ShowWindow(SW_HIDE);
    // Painted in the next pass, after the panel repaints what the saved
    // message covered: painting now would be painted over.
    Invalidate(TRUE);
}

// The record holds the chosen press first. It is written only for a user
// that exists, and only when the store has room; a template goes into the
// store only when its row is in.
int CCPTreeRegFP::EnrollSaveFingerprint(int n) {
    const CString id = IdText();
    EnrolmentBuffers& buffers = Buffers();
    BYTE record[StoredTemplateSize];
    const int first = n == 1 ? 0 : 1;
    std::memcpy(record, buffers.templates[first], PressTemplateSize);
    std::memcpy(record + PressTemplateSize, buffers.templates[1 - first], PressTemplateSize);
    CFPTemplateStore* store = GetFPTemplateStore();
    CWriteFailureBox failure;
    const FingerSaveResult result = failure.Run([&] {
        return store == nullptr ? FingerSaveResult::Failed
                                : SaveFingerTemplate(*GetDatabase(), *g_pUserStorage, *store, id, m_finger, record);
    });
    switch (result) {
        case FingerSaveResult::Saved: {
            CString format, text;
            GetLangFormat(kSection, u"R0007", u"保存第%d枚指纹！", format);
            text.Format(format, n);
            ShowMessage(text, 0);
            break;
        }
        case FingerSaveResult::StoreFull:
            ShowMessage(Text(u"R0023", u"指纹已经满！"), 0);
            break;
        case FingerSaveResult::NoUser:
            ShowMessage(Text(u"R0026", u"用户不存在,指纹未保存!"), 0);
            break;
        case FingerSaveResult::Failed:
            failure.Show();
            break;
    }
    SetLock(FALSE);
    RefreshEnrolledFingers(id);
    return result == FingerSaveResult::Saved ? 1 : 0;
}

void CCPTreeRegFP::StopTimers() {
    KillTimer(kPressTimer);
    KillTimer(kLiftTimer);
    m_sensor.SetBlink(false);
    for (CRegFPStatic& finger : m_fingers) finger.SetBlink(false);
}

BOOL CCPTreeRegFP::LeavePage() {
    if (m_enrolling && ShowMessage(Text(u"R0010", u"指纹正在登记中,是否退出?"), 36) != IDYES) return FALSE;
    const bool wasEnrolling = m_enrolling;
    m_enrolling = false;
    StopTimers();
    HideFrames();
    if (!wasEnrolling) {
        m_arrowLeft.SetVisible(false);
        m_arrowRight.SetVisible(false);
    }
    m_editId.SetWindowText(u"");
    m_prompt.SetWindowText(u"");
    if (ReturnToCallerPage()) return TRUE;
    return CCPTreeBase::LeavePage();
}

LRESULT CCPTreeRegFP::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EditEnterMessage()) return 1;
    return CCPTreeBase::WindowProc(message, wParam, lParam);
}

BOOL CCPTreeRegFP::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (id == IDC_REGFP_ID && code == EN_CHANGE) {
        CString text = IdText();
        if (text.GetLength() > kUserIdMaxLength) {
            ShowMessage(PageText(u"CCPTreeAddUser", u"U0037", u"用户ID长度不超过12位!"), 0);
            m_editId.SetWindowText(text.Left(kUserIdMaxLength));
            m_editId.SetReadOnly(FALSE);
            m_editId.SetFocus();
            // The caret at the end: a digit typed next must not replace
            // the whole ID.
            m_editId.SetSel(kUserIdMaxLength, kUserIdMaxLength);
        }
        return TRUE;
    }
    if (code == BN_CLICKED) {
        if (id == IDC_REGFP_FRAME1 || id == IDC_REGFP_FRAME2) {
            ShowChosenImageText(id == IDC_REGFP_FRAME1 ? 1 : 2);
            return TRUE;
        }
        if (id == IDC_REGFP_SAVE && m_state == kStateChoosing) {
            OnSaveFingerprint();
            return TRUE;
        }
    }
    return CCPTreeBase::OnCommand(wParam, lParam);
}

BOOL CCPTreeRegFP::OnEraseBkgnd(CDC* dc) {
    m_background.Draw(dc->GetSafeHdc(), 0, 0);
    m_hands.Draw(dc->GetSafeHdc(), 36, 76);
    for (CJHFPShow& frame : m_frames) frame.CaptureBackground(this, dc, frame.IsHidden() ? 0 : 1);
    for (CRegFPStatic& finger : m_fingers)
        finger.CaptureBackground(this, dc, (finger.GetStyle() & WS_VISIBLE) ? 1 : 0);
    m_arrowLeft.CaptureBackground(this, dc);
    m_arrowRight.CaptureBackground(this, dc);
    m_prompt.CaptureBackground(this, dc);
    m_labelId.CaptureBackground(this, dc);
    m_sensor.CaptureBackground(this, dc);
    return TRUE;
}

void CCPTreeRegFP::OnPaint() {
    CCPTreeBase::OnPaint();
    for (CWnd* widget : std::initializer_list<CWnd*>{&m_prompt, &m_editId, &m_labelId}) widget->ShowWindow(SW_SHOW);
}
