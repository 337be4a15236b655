#include "users/CPTreeEditUser.h"

#include "core/DateTexts.h"
#include "core/ShowMessage.h"
#include "data/DataGlobals.h"
#include "main/FingerCapture.h"
#include "users/UserRows.h"

namespace {

const char16_t* const kSection = u"CCPTreeEditUser";
// The user search list, the one caller that may send this page on to the
// enrolment page.
constexpr UINT kSearchListNode = 124;

}  // namespace

CCPTreeEditUser::CCPTreeEditUser() { m_photoRect = CRect(200, 13, 330, 88); }

void CCPTreeEditUser::PrepareMenuEntry() {
    m_fpIcon.SetImage(SkinPath(u"Dialog\\CE_finger.png"));
    m_fpIcon.ShowWindow(SW_HIDE);
    m_fpCount.ShowWindow(SW_HIDE);
}

void CCPTreeEditUser::ClearForm() {
    ClearFormFields();
    m_fpCount.SetWindowText(u"");
    m_countShown = false;
}

void CCPTreeEditUser::ResetSelectBoxes() {
    for (CJHSelectBox* box :
         {&m_boxDept, &m_boxSex, &m_boxAdmin, &m_boxModeSwitch, &m_boxFpStep, &m_boxCardStep, &m_boxPinStep})
        box->SetCurSelByValue(0);
    ShowGroup(0);
    ApplyModeSwitch();
}

void CCPTreeEditUser::OpenForUser(CString id, UINT callerNode, CCPTreeBase* callerPage) {
    m_caller.Set(callerNode, callerPage);
    SetIdText(id);
    m_editName.SetFocus();
    SendMessage(EditEnterMessage(), IDC_USER_ID, 0);
}

void CCPTreeEditUser::OnEditEnter(int controlId) {
    if (controlId != IDC_USER_ID) {
        NextDlgCtrl();
        return;
    }
    const CString id = NormalizeUserId(IdText());
    SetIdText(id);
    if (id.IsEmpty()) {
        FocusId(true);
        return;
    }
    if (id == m_heldId) {
        NextDlgCtrl();
        return;
    }
    // The user on the form is saved before another one is loaded.
    if (!m_heldId.IsEmpty() && !SaveUser()) return;
    LoadUser(id);
}

void CCPTreeEditUser::LoadUser(const CString& id) {
    UserInfoRecord user;
    if (!ReadUserRow(*GetDatabase(), id, user)) {
        ShowMessage(PageText(kSection, u"E0007", u"ID不存在,请重新输入"), 0);
        ClearForm();
        FocusId(true);
        return;
    }
    m_heldId = id;
    ShowUser(user);
    m_shownChoices = ReadChoices();
    NextDlgCtrl();
    CountFingerprints();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CCPTreeEditUser::ShowUser(const UserInfoRecord& user) {
    m_cardNo = user.CardNo;
    m_cardDisplay.SetWindowText(user.CardNo);
    ShowStoredText(m_editName, user.Name);
    ShowStoredText(m_editPassword, user.pwd);
    m_boxDept.SetCurSelByValue(user.Deptid);
    m_boxSex.SetCurSelByValue(user.Reserved);
    m_boxAdmin.SetCurSelByValue(user.AdminFlag);
    ShowGroup(user.GroupNO);
    m_boxModeSwitch.SetCurSelByValue(user.ACFlag != 6 ? 1 : 0);
    m_boxFpStep.SetCurSelByValue(GetVerifyTypeHigh(user.ACFlag));
    m_boxCardStep.SetCurSelByValue(GetVerifyTypeMid(user.ACFlag));
    m_boxPinStep.SetCurSelByValue(GetVerifyTypeLow(user.ACFlag));
    ApplyModeSwitch();
    ShowUserPhoto();
}

void CCPTreeEditUser::CountFingerprints() {
    if (m_heldId.IsEmpty()) return;
    CString count;
    count.Format(u"%d", CountUserFingerprints(*GetDatabase(), m_heldId));
    m_fpCount.SetWindowText(count);
    m_countShown = true;
}

void CCPTreeEditUser::ShowFormExtras() {
    if (!m_countShown) return;
    m_countShown = false;
    m_fpCount.ShowWindow(SW_SHOW);
    m_fpIcon.ShowWindow(SW_SHOW);
}

BOOL CCPTreeEditUser::SaveUser() {
    if (m_heldId.IsEmpty()) return FALSE;
    UserInfoRecord user;
    if (!ReadUserRow(*GetDatabase(), m_heldId, user)) {
        // Deleted meanwhile: there is nothing left to save to.
        ShowMessage(PageText(kSection, u"E0007", u"ID不存在,请重新输入"), 0);
        m_heldId.Empty();
        return FALSE;
    }
    if (!FillRecordFromForm(user, &m_shownChoices)) return FALSE;
    return StoreUser(user);
}

void CCPTreeEditUser::OnSave() {
    if (m_heldId.IsEmpty() || !SaveUser()) return;
    ShowMessageText(u"U0043", u"保存成功");
    FillVerifyModeBoxes();
    ClearForm();
    ResetSelectBoxes();
}

void CCPTreeEditUser::OnEnrollFingerprint() {
    if (m_caller.Node() == 0 || m_caller.Node() == kSearchListNode) {
        StopPreview();
        SwitchSensorToFingerprint();
        if (!m_heldId.IsEmpty() && SaveUser()) GotoEnrolment(kNode);
    }
    ShowUserPhoto();
}

void CCPTreeEditUser::OnVerifyModeShown() { SendTaskBarHint(CString(), 1); }

void CCPTreeEditUser::OnVerifyModeClosed() {
    CountFingerprints();
    ShowFormExtras();
    SendTaskBarHint(PageText(u"CJHDownTaskBar", u"JHD002", u"Menu/Save"), 1);
}

CString CCPTreeEditUser::CardInUseText() const { return PageText(kSection, u"E0008", u"卡号已经存在"); }
