#include "users/CPTreeAddUser.h"

#include "core/ShowMessage.h"
#include "core/WriteFailureBox.h"
#include "data/DataGlobals.h"
#include "data/UserStorage.h"
#include "main/FingerCapture.h"
#include "users/UserRows.h"

void CCPTreeAddUser::ClearForm() {
    ClearFormFields();
    m_idAccepted = false;
}

void CCPTreeAddUser::AddUserFromEnrolment(CString id, UINT callerNode, CCPTreeBase* callerPage) {
    m_caller.Set(callerNode, callerPage);
    SetIdText(id);
    if (!InsertNewUser(id)) return;
    m_heldId = id;
    m_editName.SetFocus();
}

void CCPTreeAddUser::OnEditEnter(int controlId) {
    if (controlId != IDC_USER_ID) {
        NextDlgCtrl();
        return;
    }
    const CString typed = NormalizeUserId(IdText());
    if (!m_heldId.IsEmpty() && typed == m_heldId) {
        SetIdText(typed);
        NextDlgCtrl();
        return;
    }
    if (!m_heldId.IsEmpty()) {
        // Another ID while a user is open: that user is saved first and
        // the form starts empty for the new one.
        if (!SaveUser()) return;
        const CCallerLink caller = m_caller;
        ClearForm();
        m_caller = caller;
        SetIdText(typed);
    }
    if (!CheckNewUserID()) {
        FocusId(true);
        return;
    }
    const CString id = IdText();
    if (!InsertNewUser(id)) {
        SetLock(FALSE);
        return;
    }
    m_heldId = id;
    m_idAccepted = true;
    NextDlgCtrl();
}

BOOL CCPTreeAddUser::CheckNewUserID() {
    const CString id = NormalizeUserId(IdText());
    SetIdText(id);
    if (id.IsEmpty()) {
        ShowMessageText(u"U0001", u"用户ID不能为空");
        return FALSE;
    }
    if (id.GetLength() > kUserIdMaxLength) {
        ShowMessageText(u"U0034", u"用户ID过长,最长在12位!");
        return FALSE;
    }
    if (UserRowExists(*GetDatabase(), id)) {
        ShowMessageText(u"U0023", u"ID已经存在,请重新输入!");
        return FALSE;
    }
    SetLock(TRUE);
    return TRUE;
}

BOOL CCPTreeAddUser::InsertNewUser(const CString& id) {
    UserInfoRecord user;
    user.userid = id;
    CWriteFailureBox failure;
    const int result = failure.Run([&] { return g_pUserStorage->AddUser(user); });
    if (result == 0) {
        // A deleted user's photo must not show as the new user's.
        RemoveUserPhotos(id);
        return TRUE;
    }
    if (result == 5)
        ShowMessageText(u"U0044", u"操作失败，用户数已满!");
    else
        failure.Show();
    SetIdText(u"");
    FocusId(false);
    return FALSE;
}

BOOL CCPTreeAddUser::SaveUser() {
    if (m_heldId.IsEmpty()) return FALSE;
    UserInfoRecord user;
    user.userid = m_heldId;
    if (!FillRecordFromForm(user, nullptr)) return FALSE;
    return StoreUser(user);
}

void CCPTreeAddUser::OnSave() {
    if (!m_idAccepted || !SaveUser()) return;
    ShowMessageText(u"U0043", u"保存成功");
    FillVerifyModeBoxes();
    ClearForm();
}

void CCPTreeAddUser::OnEnrollFingerprint() {
    if (m_caller.Node() != 0) {
        // Opened by the enrolment page: leaving saves and hands the user back.
        LeavePage();
    } else if (!m_heldId.IsEmpty()) {
        StopPreview();
        SwitchSensorToFingerprint();
        if (SaveUser()) GotoEnrolment(kNode);
    }
    ShowUserPhoto();
}

CString CCPTreeAddUser::CardInUseText() const { return PageText(u"CCPTreeAddUser", u"U0022", u"卡号已经存在"); }
