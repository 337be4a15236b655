#include "users/UserFormPage.h"

#include <initializer_list>
#include <type_traits>

#include "core/AccessTable.h"
#include "core/CardInput.h"
#include "core/DateTexts.h"
#include "core/LangLibraries.h"
#include "core/RegisteredMessages.h"
#include "core/ShowMessage.h"
#include "core/UserPhoto.h"
#include "core/WriteFailureBox.h"
#include "data/DataGlobals.h"
#include "data/UserStorage.h"
#include "main/FingerCapture.h"
#include "platform/ui/ddx.h"
#include "platform/ui/dialog.h"
#include "rules/SelectorRows.h"
#include "users/CPTreeRegFP.h"
#include "users/UserRows.h"

namespace {

const char16_t* const kSection = u"CCPTreeAddUser";
constexpr int kRowHeight = 16;
constexpr int kBoxHeight = 18;

constexpr DWORD kEdit = WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kBox = WS_TABSTOP;

const DialogTemplate kUserForm{
    CUserFormPage::IDD,
    WS_CHILD,
    0,
    0,
    320,
    216,
    u"",
    {
        {IDC_USER_ID_LABEL, u"STATIC", u"", 0, 15, 3, 60, kRowHeight},
        {IDC_USER_ID, u"EDIT", u"", kEdit, 75, 3, 107, kRowHeight},
        {IDC_USER_NAME_LABEL, u"STATIC", u"", 0, 15, 21, 60, kRowHeight},
        {IDC_USER_NAME, u"EDIT", u"", kEdit, 75, 21, 107, kRowHeight},
        {IDC_USER_PASSWORD_LABEL, u"STATIC", u"", 0, 15, 39, 60, kRowHeight},
        {IDC_USER_PASSWORD, u"EDIT", u"", kEdit, 75, 39, 107, kRowHeight},
        {IDC_USER_CARD_LABEL, u"STATIC", u"", 0, 15, 57, 60, kRowHeight},
        {IDC_USER_CARD, u"STATIC", u"", 0, 75, 57, 107, kRowHeight},
        {IDC_USER_DEPT_LABEL, u"STATIC", u"", 0, 15, 78, 60, kRowHeight},
        {IDC_USER_DEPT, u"STATIC", u"", kBox, 75, 78, 107, kBoxHeight},
        {IDC_USER_ADMIN_LABEL, u"STATIC", u"", 0, 15, 98, 60, kRowHeight},
        {IDC_USER_ADMIN, u"STATIC", u"", kBox, 75, 98, 107, kBoxHeight},
        {IDC_USER_GROUP_LABEL, u"STATIC", u"", 0, 15, 118, 60, kRowHeight},
        {IDC_USER_GROUP, u"STATIC", u"", kBox, 75, 118, 107, kBoxHeight},
        {IDC_USER_SEX_LABEL, u"STATIC", u"", 0, 15, 138, 60, kRowHeight, 0, true},
        {IDC_USER_SEX, u"STATIC", u"", 0, 75, 138, 107, kBoxHeight, 0, true},
        {IDC_USER_ENROLL, u"BUTTON", u"", WS_TABSTOP | BS_OWNERDRAW, 19, 144, 56, 52},
        {IDC_USER_PICTURE, u"BUTTON", u"", WS_TABSTOP | BS_OWNERDRAW, 90, 144, 56, 52},
        {IDC_USER_MODE, u"BUTTON", u"", WS_TABSTOP | BS_OWNERDRAW, 160, 144, 56, 52},
        {IDC_USER_SAVE, u"BUTTON", u"", WS_TABSTOP, 230, 160, 80, 24, 0, true},
        {IDC_USER_PHOTO, u"STATIC", u"", 0, 200, 13, 130, 120},
        {IDC_USER_FP_COUNT, u"STATIC", u"", 0, 263, 93, 30, 20, 0, true},
        {IDC_USER_FP_ICON, u"STATIC", u"", 0, 226, 95, 30, 20, 0, true},
        {IDC_USER_MODE_HEADING, u"STATIC", u"", 0, 7, 35, 90, kBoxHeight, 0, true},
        {IDC_USER_MODE_SWITCH, u"STATIC", u"", kBox, 120, 35, 145, kBoxHeight, 0, true},
        {IDC_USER_FP_TITLE, u"STATIC", u"", 0, 7, 65, 90, kBoxHeight, 0, true},
        {IDC_USER_FP_PLUS, u"STATIC", u"", 0, 102, 65, 16, kBoxHeight, 0, true},
        {IDC_USER_FP_STEP, u"STATIC", u"", kBox, 120, 65, 145, kBoxHeight, 0, true},
        {IDC_USER_FP_PASS, u"STATIC", u"", 0, 270, 65, 50, kBoxHeight, 0, true},
        {IDC_USER_CARD_TITLE, u"STATIC", u"", 0, 7, 95, 90, kBoxHeight, 0, true},
        {IDC_USER_CARD_PLUS, u"STATIC", u"", 0, 102, 95, 16, kBoxHeight, 0, true},
        {IDC_USER_CARD_STEP, u"STATIC", u"", kBox, 120, 95, 145, kBoxHeight, 0, true},
        {IDC_USER_CARD_PASS, u"STATIC", u"", 0, 270, 95, 50, kBoxHeight, 0, true},
        {IDC_USER_PIN_TITLE, u"STATIC", u"", 0, 7, 125, 90, kBoxHeight, 0, true},
        {IDC_USER_PIN_PLUS, u"STATIC", u"", 0, 102, 125, 16, kBoxHeight, 0, true},
        {IDC_USER_PIN_STEP, u"STATIC", u"", kBox, 120, 125, 145, kBoxHeight, 0, true},
        {IDC_USER_PIN_PASS, u"STATIC", u"", 0, 270, 125, 50, kBoxHeight, 0, true},
    },
};
const DialogTemplateEntry kUserFormEntry(kUserForm);

const WidgetFontSpec kTraditionalFont{u"Microsoft JhengHei", 16, 400, 0, 0};
const WidgetFontSpec kFont{u"tohamo", 16, 80, 0, 0};

// Each row's step boxes: the values offered and the one that passes.
constexpr int kFpStepValues[] = {0, 1, 2, 3};
constexpr int kCardStepValues[] = {0, 1, 2, 3, 7};
// Indexes into the step texts (U0013 to U0018) of each row's items.
constexpr int kFpStepTexts[] = {0, 1, 5, 4};
constexpr int kCardStepTexts[] = {0, 1, 2, 3, 4};
constexpr int kFpPasses = 3;
constexpr int kCardPasses = 7;

template <size_t N>
void FillStepBox(CJHSelectBox& box, const CString (&texts)[6], const int (&values)[N], const int (&textIndexes)[N]) {
    box.ResetContent();
    for (size_t i = 0; i < N; ++i) box.AddItem(texts[textIndexes[i]], values[i]);
}

void SetStepLabel(CFontStatic& label, int value, int passes, const CString& passText) {
    label.SetWindowText(value == 0 || value == passes ? CString() : passText);
}

void Place(CWnd& control, int x, int y, int width, int height) { control.MoveWindow(x, y, width, height, FALSE); }

bool IsKeyUp(UINT message) { return message == WM_KEYUP || message == WM_SYSKEYUP; }

}  // namespace

CUserFormPage::CUserFormPage() : CCPTreeBase(IDD, nullptr) {}

void CUserFormPage::DoDataExchange(CDataExchange* dx) {
    CCPTreeBase::DoDataExchange(dx);
    DDX_Control(dx, IDC_USER_DEPT, m_boxDept);
    DDX_Control(dx, IDC_USER_ADMIN, m_boxAdmin);
    DDX_Control(dx, IDC_USER_GROUP, m_boxGroup);
    DDX_Control(dx, IDC_USER_SEX, m_boxSex);
    DDX_Control(dx, IDC_USER_MODE_SWITCH, m_boxModeSwitch);
    DDX_Control(dx, IDC_USER_FP_STEP, m_boxFpStep);
    DDX_Control(dx, IDC_USER_CARD_STEP, m_boxCardStep);
    DDX_Control(dx, IDC_USER_PIN_STEP, m_boxPinStep);
    DDX_Control(dx, IDC_USER_ID, m_editId);
    DDX_Control(dx, IDC_USER_NAME, m_editName);
    DDX_Control(dx, IDC_USER_PASSWORD, m_editPassword);
    DDX_Control(dx, IDC_USER_ID_LABEL, m_labelId);
    DDX_Control(dx, IDC_USER_CARD_LABEL, m_labelCard);
    DDX_Control(dx, IDC_USER_NAME_LABEL, m_labelName);
    DDX_Control(dx, IDC_USER_PASSWORD_LABEL, m_labelPassword);
    DDX_Control(dx, IDC_USER_DEPT_LABEL, m_labelDept);
    DDX_Control(dx, IDC_USER_ADMIN_LABEL, m_labelAdmin);
    DDX_Control(dx, IDC_USER_SEX_LABEL, m_labelSex);
    DDX_Control(dx, IDC_USER_GROUP_LABEL, m_labelGroup);
    DDX_Control(dx, IDC_USER_CARD, m_cardDisplay);
    DDX_Control(dx, IDC_USER_SAVE, m_btnSave);
    DDX_Control(dx, IDC_USER_MODE_HEADING, m_modeHeading);
    DDX_Control(dx, IDC_USER_FP_TITLE, m_fpTitle);
    DDX_Control(dx, IDC_USER_CARD_TITLE, m_cardTitle);
    DDX_Control(dx, IDC_USER_PIN_TITLE, m_pinTitle);
    DDX_Control(dx, IDC_USER_FP_PLUS, m_fpPlus);
    DDX_Control(dx, IDC_USER_CARD_PLUS, m_cardPlus);
    DDX_Control(dx, IDC_USER_PIN_PLUS, m_pinPlus);
    DDX_Control(dx, IDC_USER_FP_PASS, m_fpPass);
    DDX_Control(dx, IDC_USER_CARD_PASS, m_cardPass);
    DDX_Control(dx, IDC_USER_PIN_PASS, m_pinPass);
    DDX_Control(dx, IDC_USER_MODE, m_btnMode);
    DDX_Control(dx, IDC_USER_PICTURE, m_btnPicture);
    DDX_Control(dx, IDC_USER_ENROLL, m_btnEnroll);
    DDX_Control(dx, IDC_USER_PHOTO, m_photo);
    DDX_Control(dx, IDC_USER_FP_COUNT, m_fpCount);
    DDX_Control(dx, IDC_USER_FP_ICON, m_fpIcon);
}

BOOL CUserFormPage::OnInitDialog() {
    CCPTreeBase::OnInitDialog();
    MakeWidgetFont(m_font, kTraditionalFont, kFont);
    m_editName.SetFont(&m_font, FALSE);
    m_editId.EnableKeyHint(false);
    m_editPassword.EnableKeyHint(false);
    LoadTexts();
    FillVerifyModeBoxes();
    m_boxSex.AddItem(PageText(kSection, u"U0007", u"男"), 0);
    m_boxSex.AddItem(PageText(kSection, u"U0008", u"女"), 1);
    m_boxAdmin.AddItem(PageText(kSection, u"U0029", u"否"), 0);
    m_boxAdmin.AddItem(PageText(kSection, u"U0030", u"是"), 1);
    m_boxAdmin.SetCurSelByValue(0);
    ShowGroup(0);
    m_background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
    RedrawWindow();
    return FALSE;
}

void CUserFormPage::LoadTexts() {
    static const char16_t* const kStepKeys[6][2] = {{u"U0013", u"无反应"},      {u"U0014", u"密码验证"},
                                                    {u"U0015", u"指纹验证(1:1)"}, {u"U0016", u"指纹+密码"},
                                                    {u"U0017", u"直接通过"},      {u"U0018", u"卡验证"}};
    for (int i = 0; i < 6; ++i) m_stepTexts[i] = PageText(kSection, kStepKeys[i][0], kStepKeys[i][1]);
    m_labelId.SetWindowText(PageText(kSection, u"U0024", u"ID"));
    m_labelName.SetWindowText(PageText(kSection, u"U0025", u"姓名"));
    m_labelPassword.SetWindowText(PageText(kSection, u"U0005", u"密码"));
    m_labelCard.SetWindowText(PageText(kSection, u"U0004", u"卡号"));
    m_labelDept.SetWindowText(PageText(kSection, u"U0021", u"部门"));
    m_labelAdmin.SetWindowText(PageText(kSection, u"U0028", u"管理员"));
    m_labelSex.SetWindowText(PageText(kSection, u"U0006", u"性别"));
    m_labelGroup.SetWindowText(PageText(kSection, u"U0031", u"组号(0-16)"));
    m_btnSave.SetWindowText(PageText(kSection, u"U0026", u"保存(下一步)"));
    m_modeHeading.SetWindowText(PageText(kSection, u"U0027", u"比对方式"));
    m_fpTitle.SetWindowText(PageText(kSection, u"U0009", u"首次比对指纹"));
    m_cardTitle.SetWindowText(PageText(kSection, u"U0010", u"首次卡通过后"));
    m_pinTitle.SetWindowText(PageText(kSection, u"U0011", u"首次PIN通过"));
    for (CFontStatic* plus : {&m_fpPlus, &m_cardPlus, &m_pinPlus}) plus->SetWindowText(u"+");
    // The "passes at once" text is wider than the 50 pixels left of the screen.
    for (CFontStatic* pass : {&m_fpPass, &m_cardPass, &m_pinPass}) pass->FitText(true);
    m_btnEnroll.SetText(PageText(kSection, u"U0042", u"Enroll FP"));
    m_btnPicture.SetText(PageText(kSection, u"U0041", u"Picture"));
    m_btnMode.SetText(PageText(kSection, u"U0040", u"Mode"));
    m_boxModeSwitch.ResetContent();
    m_boxModeSwitch.AddItem(PageText(kSection, u"U0019", u"系统默认"), 0);
    m_boxModeSwitch.AddItem(PageText(kSection, u"U0020", u"独立设置"), 1);
}

void CUserFormPage::FillVerifyModeBoxes() {
    FillStepBox(m_boxFpStep, m_stepTexts, kFpStepValues, kFpStepTexts);
    FillStepBox(m_boxCardStep, m_stepTexts, kCardStepValues, kCardStepTexts);
    FillStepBox(m_boxPinStep, m_stepTexts, kCardStepValues, kCardStepTexts);
}

void CUserFormPage::LayoutControls() {
    m_btnEnroll.SetWindowPos(nullptr, 19, 144, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_btnPicture.SetWindowPos(nullptr, 90, 144, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_btnMode.SetWindowPos(nullptr, 160, 144, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Place(m_photo, m_photoRect.left, m_photoRect.top, m_photoRect.Width(), m_photoRect.Height());
    const struct {
        CWnd* label;
        CWnd* value;
        int y;
        int height;
    } rows[] = {{&m_labelId, &m_editId, 3, kRowHeight},          {&m_labelName, &m_editName, 21, kRowHeight},
                {&m_labelPassword, &m_editPassword, 39, kRowHeight}, {&m_labelCard, &m_cardDisplay, 57, kRowHeight},
                {&m_labelDept, &m_boxDept, 78, kBoxHeight},      {&m_labelAdmin, &m_boxAdmin, 98, kBoxHeight},
                {&m_labelGroup, &m_boxGroup, 118, kBoxHeight}};
    for (const auto& row : rows) {
        Place(*row.label, 15, row.y, 60, kRowHeight);
        Place(*row.value, 75, row.y, 107, row.height);
    }
    const struct {
        CFontStatic* title;
        CFontStatic* plus;
        CWnd* box;
        CFontStatic* pass;
        int y;
    } modeRows[] = {{&m_modeHeading, nullptr, &m_boxModeSwitch, nullptr, 35},
                    {&m_fpTitle, &m_fpPlus, &m_boxFpStep, &m_fpPass, 65},
                    {&m_cardTitle, &m_cardPlus, &m_boxCardStep, &m_cardPass, 95},
                    {&m_pinTitle, &m_pinPlus, &m_boxPinStep, &m_pinPass, 125}};
    for (const auto& row : modeRows) {
        Place(*row.title, 7, row.y, 90, kBoxHeight);
        if (row.plus) Place(*row.plus, 102, row.y, 16, kBoxHeight);
        Place(*row.box, 120, row.y, 145, kBoxHeight);
        if (row.pass) Place(*row.pass, 270, row.y, 50, kBoxHeight);
    }
}

template <class Apply>
void CUserFormPage::ForEachCanvas(Apply&& apply) {
    apply(m_boxDept), apply(m_boxAdmin), apply(m_boxGroup), apply(m_boxSex), apply(m_boxModeSwitch);
    apply(m_boxFpStep), apply(m_boxCardStep), apply(m_boxPinStep);
    apply(m_labelId), apply(m_labelCard), apply(m_labelName), apply(m_labelPassword), apply(m_labelDept);
    apply(m_labelAdmin), apply(m_labelSex), apply(m_labelGroup), apply(m_cardDisplay);
    apply(m_modeHeading), apply(m_fpTitle), apply(m_cardTitle), apply(m_pinTitle), apply(m_fpPlus);
    apply(m_cardPlus), apply(m_pinPlus), apply(m_fpPass), apply(m_cardPass), apply(m_pinPass);
    apply(m_btnMode), apply(m_btnPicture), apply(m_btnEnroll), apply(m_photo), apply(m_fpCount), apply(m_fpIcon);
}

void CUserFormPage::HideFormWidgets() {
    for (CWnd* widget : std::initializer_list<CWnd*>{
             &m_labelId, &m_editId, &m_labelName, &m_editName, &m_labelPassword, &m_editPassword, &m_labelCard,
             &m_cardDisplay, &m_labelDept, &m_boxDept, &m_labelAdmin, &m_boxAdmin, &m_labelGroup, &m_boxGroup,
             &m_btnEnroll, &m_btnPicture, &m_btnMode, &m_photo, &m_fpCount, &m_fpIcon})
        widget->ShowWindow(SW_HIDE);
}

void CUserFormPage::ShowFormWidgets() {
    for (CWnd* widget : std::initializer_list<CWnd*>{
             &m_modeHeading, &m_boxModeSwitch, &m_fpTitle, &m_fpPlus, &m_boxFpStep, &m_fpPass, &m_cardTitle,
             &m_cardPlus, &m_boxCardStep, &m_cardPass, &m_pinTitle, &m_pinPlus, &m_boxPinStep, &m_pinPass})
        widget->ShowWindow(SW_HIDE);
    for (CWnd* widget : std::initializer_list<CWnd*>{
             &m_labelId, &m_editId, &m_labelName, &m_editName, &m_labelPassword, &m_editPassword, &m_labelCard,
             &m_cardDisplay, &m_labelDept, &m_boxDept, &m_labelAdmin, &m_boxAdmin, &m_labelGroup, &m_boxGroup,
             &m_btnEnroll, &m_btnPicture, &m_btnMode, &m_photo})
        widget->ShowWindow(SW_SHOW);
    ShowFormExtras();
}

void CUserFormPage::FillDepartments() {
    m_boxDept.ResetContent();
    for (const DepartmentItem& dept : ReadDepartments(*GetDatabase(), u"select * from dept "))
        m_boxDept.AddItem(dept.name, dept.id);
}

void CUserFormPage::TakeCardTarget() {
    if (m_cardTarget) return;
    SetCardTarget(this);
    m_cardTarget = true;
}

void CUserFormPage::ReleaseCardTarget() {
    if (!m_cardTarget) return;
    RestoreCardTarget();
    m_cardTarget = false;
}

BOOL CUserFormPage::EnterPage() {
    m_previewOn = false;
    if (!m_bEnteredFromMenu) {
        // Back from the enrolment page: the form keeps the user.
        m_bEnteredFromMenu = 1;
        const BOOL shown = CCPTreeBase::EnterPage();
        m_btnEnroll.SetFocus();
        SendTaskBarHint(PageText(u"CJHDownTaskBar", u"JHD002", u"Menu/Save"), 1);
        return shown;
    }
    m_btnMode.SetImage(SkinPath(u"ControlPanel\\ICON\\Identify.png"));
    m_btnPicture.SetImage(SkinPath(u"ControlPanel\\ICON\\picture.png"));
    m_btnEnroll.SetImage(SkinPath(u"ControlPanel\\ICON\\Enroll.png"));
    ForEachCanvas([](auto& widget) { widget.SetNeedCapture(TRUE); });
    LayoutControls();
    PrepareMenuEntry();
    HideFormWidgets();
    m_verifyModeShown = false;
    FillDepartments();
    TakeCardTarget();
    ClearForm();
    FinishMenuEntry();
    const BOOL shown = CCPTreeBase::EnterPage();
    m_editId.SetFocus();
    SendTaskBarHint(PageText(u"CJHDownTaskBar", u"JHD002", u"Menu/Save"), 1);
    return shown;
}

// Whatever state the page is in, leaving unlocks it and gives the card
// reader back; only a held user whose form cannot be stored keeps it shown.
BOOL CUserFormPage::LeavePage() {
    SwitchSensorToFingerprint();
    StopPreview();
    if (!m_heldId.IsEmpty() && !SaveUser()) return FALSE;
    m_heldId.Empty();
    SetLock(FALSE);
    ReleaseCardTarget();
    KillTimer(kCardPromptTimer);
    m_photo.SetImageSource(0);
    m_photo.SetShownFlag(FALSE);
    m_fpCount.ShowWindow(SW_HIDE);
    m_fpIcon.ShowWindow(SW_HIDE);
    if (m_caller.ReturnTo(*this)) return TRUE;
    return CCPTreeBase::LeavePage();
}

void CUserFormPage::ClearFormFields() {
    m_cardNo.Empty();
    for (CWnd* field : std::initializer_list<CWnd*>{&m_editId, &m_editName, &m_cardDisplay, &m_editPassword})
        field->SetWindowText(u"");
    m_fpIcon.ShowWindow(SW_HIDE);
    // Set silently, so each box is repainted here: the form may be cleared
    // with no later paint of the page (another ID typed while one is open).
    for (CJHSelectBox* box : {&m_boxFpStep, &m_boxCardStep, &m_boxPinStep, &m_boxDept, &m_boxSex}) {
        box->SetCurSel(0);
        box->Invalidate(FALSE);
    }
    // The switch's reset is announced: reset silently, it would not announce
    // the next step back to individual, and the rows would stay disabled
    // under an individual setting that then saves them all as refused.
    m_boxModeSwitch.SetCurSelByValue(0);
    ApplyModeSwitch();
    FocusId(false);
    m_caller.Forget();
    SetLock(FALSE);
    m_heldId.Empty();
    KillTimer(kCardPromptTimer);
    m_photo.ResetFields();
    m_photo.Invalidate(FALSE);
    m_photo.UpdateWindow();
}

void CUserFormPage::FocusId(bool selectAll) {
    m_editId.SetFocus();
    if (selectAll) m_editId.SetSel(0, -1);
}

CString CUserFormPage::IdText() const {
    CString text;
    m_editId.GetWindowText(text);
    return text;
}

void CUserFormPage::ShowMessageText(LPCWSTR key, LPCWSTR defaultText) {
    ShowMessage(PageText(kSection, key, defaultText), 0);
}

void CUserFormPage::ShowGroup(int group) {
    FillSelector(m_boxGroup,
                 {{PageText(kSection, u"U0032", u"0-常闭"), 0}, {PageText(kSection, u"U0033", u"1-常开"), 1}});
    AddNumberItems(m_boxGroup, 2, CAccessGroupTable::kLast);
    if (!CAccessGroupTable::Contains(group)) AddNumberItem(m_boxGroup, group);
    m_boxGroup.SetCurSelByValue(group);
    m_boxGroup.Invalidate(FALSE);
}

UserFormChoices CUserFormPage::ReadChoices() const {
    UserFormChoices choices;
    choices.dept = m_boxDept.GetCurSelValue();
    choices.admin = m_boxAdmin.GetCurSelValue();
    choices.group = m_boxGroup.GetCurSelValue();
    choices.modeSwitch = m_boxModeSwitch.GetCurSelValue();
    choices.fpStep = m_boxFpStep.GetCurSelValue();
    choices.cardStep = m_boxCardStep.GetCurSelValue();
    choices.pinStep = m_boxPinStep.GetCurSelValue();
    return choices;
}

bool CUserFormPage::FillRecordFromForm(UserInfoRecord& user, const UserFormChoices* kept) {
    CString name, password;
    m_editName.GetWindowText(name);
    m_editPassword.GetWindowText(password);
    // What the page shows as stored is kept whatever its length.
    const auto tooLong = [kept](const CString& shown, const CString& stored, int limit) {
        return !(kept != nullptr && shown == stored) && shown.GetLength() > limit;
    };
    if (tooLong(name, user.Name, kUserNameMaxLength)) {
        ShowMessageText(u"U0036", u"用户名长度不超过10位");
        return false;
    }
    if (tooLong(password, user.pwd, kUserPasswordMaxLength)) {
        ShowMessageText(u"U0038", u"密码长度不超过6位");
        return false;
    }
    user.Name = name;
    user.pwd = password;
    user.CardNo = m_cardNo;
    const UserFormChoices now = ReadChoices();
    if (!kept) user.sex = m_boxSex.GetCurSelText();
    if (!kept || now.dept != kept->dept) user.Deptid = now.dept;
    if (!kept || now.admin != kept->admin) user.AdminFlag = now.admin;
    if (!kept || now.group != kept->group) user.GroupNO = now.group;
    if (!kept || !now.SameVerifyMode(*kept))
        user.ACFlag = now.modeSwitch == 0 ? 6 : PackVerifyType(now.fpStep, now.cardStep, now.pinStep);
    return true;
}

BOOL CUserFormPage::StoreUser(const UserInfoRecord& user) {
    CWriteFailureBox failure;
    if (failure.Run([&] { return g_pUserStorage->UpdateUser(user); }) == 0) return TRUE;
    failure.Show();
    return FALSE;
}

BOOL CUserFormPage::PreTranslateMessage(MSG* msg) {
    if (!IsKeyMessage(msg->message)) return CCPTreeBase::PreTranslateMessage(msg);
    const HWND focus = ::GetFocus();
    switch (msg->wParam) {
        case VK_MENU:
            if (msg->message == WM_SYSKEYUP && MenuKeySaves()) OnSave();
            return TRUE;
        case VK_UP:
        case VK_DOWN:
            if (focus == m_editId.GetSafeHwnd()) return TRUE;
            break;
        case VK_ESCAPE:
            if (!m_verifyModeShown) break;
            if (IsKeyUp(msg->message)) CloseVerifyMode();
            return TRUE;
        case VK_RETURN:
            if (focus == m_btnMode.GetSafeHwnd()) {
                if (IsKeyUp(msg->message)) OnShowVerifyMode();
                return TRUE;
            }
            if (focus == m_btnEnroll.GetSafeHwnd() && EnterOnEnrollActs()) {
                if (IsKeyUp(msg->message)) OnEnrollFingerprint();
                return TRUE;
            }
            break;
        default:
            break;
    }
    return CCPTreeBase::PreTranslateMessage(msg);
}

LRESULT CUserFormPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EditEnterMessage()) {
        OnEditEnter(static_cast<int>(wParam));
        return 1;
    }
    if (message == WM_CARDNO) {
        OnCardNo();
        return 1;
    }
    if (message == SelChangeMessage()) {
        OnSelChange(static_cast<int>(wParam));
        return 0;
    }
    return CCPTreeBase::WindowProc(message, wParam, lParam);
}

BOOL CUserFormPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (code == BN_CLICKED) {
        switch (id) {
            case IDC_USER_SAVE:
                OnSave();
                return TRUE;
            case IDC_USER_PICTURE:
                OnTakePhoto();
                return TRUE;
            case IDC_USER_ENROLL:
                OnEnrollFingerprint();
                return TRUE;
            case IDC_USER_MODE:
                OnShowVerifyMode();
                return TRUE;
            default:
                break;
        }
    }
    if (code == EN_CHANGE) {
        switch (id) {
            case IDC_USER_ID:
                EnforceLength(m_editId, kUserIdMaxLength, u"U0037", u"用户ID长度不超过12位!");
                return TRUE;
            case IDC_USER_NAME:
                EnforceLength(m_editName, kUserNameMaxLength, u"U0036", u"用户名长度不超过10位!");
                return TRUE;
            case IDC_USER_PASSWORD:
                EnforceLength(m_editPassword, kUserPasswordMaxLength, u"U0038", u"密码长度不超过6位!");
                return TRUE;
            default:
                break;
        }
    }
    return CCPTreeBase::OnCommand(wParam, lParam);
}

void CUserFormPage::ShowStoredText(CEdit& edit, const CString& text) {
    m_showingStored = &edit;
    edit.SetWindowText(text);
    m_showingStored = nullptr;
}

void CUserFormPage::EnforceLength(CEdit& edit, int limit, LPCWSTR key, LPCWSTR defaultText) {
    if (&edit == m_showingStored) return;
    CString text;
    edit.GetWindowText(text);
    if (text.GetLength() <= limit) return;
    ShowMessageText(key, defaultText);
    edit.SetWindowText(text.Left(limit));
    edit.SetFocus();
    edit.SetSel(limit, limit);
}

void CUserFormPage::OnCardNo() {
    const CString card = g_strLastCardNo.Get();
    g_strLastCardNo = u"";
    if (card.IsEmpty()) return;
    if (CardHeldByAnotherUser(*GetDatabase(), card, m_heldId)) {
        // The card the page held stays; the prompt gives way to it again.
        m_cardDisplay.SetWindowText(CardInUseText());
        SetTimer(kCardPromptTimer, kCardPromptMs, nullptr);
        return;
    }
    KillTimer(kCardPromptTimer);
    m_cardNo = card;
    m_cardDisplay.SetWindowText(card);
    OnCardAccepted();
}

void CUserFormPage::OnTimer(UINT_PTR id) {
    if (id != kCardPromptTimer) {
        CCPTreeBase::OnTimer(id);
        return;
    }
    KillTimer(kCardPromptTimer);
    m_cardDisplay.SetWindowText(m_cardNo);
}

void CUserFormPage::OnSelChange(int controlId) {
    if (controlId == IDC_USER_MODE_SWITCH)
        ApplyModeSwitch();
    else if (controlId == IDC_USER_FP_STEP || controlId == IDC_USER_CARD_STEP || controlId == IDC_USER_PIN_STEP)
        UpdateStepLabels();
}

void CUserFormPage::ApplyModeSwitch() {
    const bool individual = m_boxModeSwitch.GetCurSelValue() == 1;
    for (CJHSelectBox* box : {&m_boxFpStep, &m_boxCardStep, &m_boxPinStep}) box->Enable(individual);
    UpdateStepLabels();
}

void CUserFormPage::UpdateStepLabels() {
    const CString& passText = m_stepTexts[4];
    SetStepLabel(m_fpPass, m_boxFpStep.GetCurSelValue(), kFpPasses, passText);
    SetStepLabel(m_cardPass, m_boxCardStep.GetCurSelValue(), kCardPasses, passText);
    SetStepLabel(m_pinPass, m_boxPinStep.GetCurSelValue(), kCardPasses, passText);
}

void CUserFormPage::OnShowVerifyMode() {
    m_verifyModeShown = true;
    HideFormWidgets();
    for (CWnd* widget : std::initializer_list<CWnd*>{
             &m_modeHeading, &m_boxModeSwitch, &m_fpTitle, &m_fpPlus, &m_boxFpStep, &m_fpPass, &m_cardTitle,
             &m_cardPlus, &m_boxCardStep, &m_cardPass, &m_pinTitle, &m_pinPlus, &m_boxPinStep, &m_pinPass})
        widget->ShowWindow(SW_SHOW);
    ShowUserPhoto();
    m_boxModeSwitch.SetFocus();
    OnVerifyModeShown();
}

void CUserFormPage::CloseVerifyMode() {
    m_verifyModeShown = false;
    ShowFormWidgets();
    OnVerifyModeClosed();
    m_btnMode.SetFocus();
}

void CUserFormPage::StopPreview() {
    m_previewOn = false;
    m_photo.EnablePreview(FALSE);
}

// The first press starts the camera's live picture, the second keeps the
// picture as the held user's photo.
void CUserFormPage::OnTakePhoto() {
    CString path;
    if (m_heldId.IsEmpty() || !UserPhotoPath(m_heldId, path) || !SaveUser()) return;
    if (!m_previewOn) {
        SwitchSensorToCamera();
        m_previewOn = true;
        m_photo.EnablePreview(TRUE);
        return;
    }
    StopPreview();
    m_photo.SetMode(CPhoneShow::kModeSnapshot);
    m_photo.SetImageSource(1);
    m_photo.SetShownFlag(TRUE);
    m_photo.SetPhotoPath(path);
    m_photo.Invalidate(FALSE);
    m_photo.UpdateWindow();
}

void CUserFormPage::ShowUserPhoto() {
    m_photo.SetMode(CPhoneShow::kModeStoredPhoto);
    m_photo.SetImageSource(1);
    m_photo.SetShownFlag(TRUE);
    m_photo.SetUserId(m_heldId);
    m_photo.Invalidate(FALSE);
    m_photo.UpdateWindow();
}

void CUserFormPage::GotoEnrolment(UINT ownNode) {
    if (auto* enrolment = dynamic_cast<CCPTreeRegFP*>(JumpToPage(CCPTreeRegFP::kNode, TRUE)))
        enrolment->EnrollForUser(m_heldId, ownNode, this);
}

BOOL CUserFormPage::OnEraseBkgnd(CDC* dc) {
    m_background.Draw(dc->GetSafeHdc(), 0, 0, 320, 240);
    // Each widget keeps the view it belongs to: a hidden one stays hidden.
    ForEachCanvas([this, dc](auto& widget) {
        const int show = (widget.GetStyle() & WS_VISIBLE) ? 1 : 0;
        if constexpr (std::is_base_of_v<CFontStatic, std::decay_t<decltype(widget)>>)
            widget.CaptureBackgroundEx(this, dc, static_cast<BYTE>(show));
        else
            widget.CaptureBackground(this, dc, show);
    });
    return TRUE;
}

void CUserFormPage::OnPaint() {
    CCPTreeBase::OnPaint();
    if (!m_verifyModeShown) ShowFormWidgets();
}
