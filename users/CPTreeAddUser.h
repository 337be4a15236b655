// CCPTreeAddUser: the add-user page (menu node 121). A typed new ID is
// inserted into Userinfo at once; the administrator then fills in the form,
// may take a photo and enrol fingers, and saves ("save and next"), or the
// form is saved when the page is left. The enrolment page sends an ID that
// is not in Userinfo here and is handed back to when the page is left.
#pragma once

#include "users/UserFormPage.h"

class CCPTreeAddUser : public CUserFormPage {
public:
    static constexpr UINT kNode = 121;

    CCPTreeAddUser() = default;

    // From the enrolment page, right after it went to this node: inserts
    // the ID and holds it; leaving (ESC or Enroll FP) saves the form and
    // returns to the caller.
    void AddUserFromEnrolment(CString id, UINT callerNode, CCPTreeBase* callerPage);

protected:
    void OnEditEnter(int controlId) override;
    void OnSave() override;
    void OnEnrollFingerprint() override;
    BOOL SaveUser() override;
    void ClearForm() override;
    CString CardInUseText() const override;
    void OnCardAccepted() override { SetLock(TRUE); }
    bool EnterOnEnrollActs() const override { return m_caller.Node() != 0; }

private:
    // The typed ID normalised and checked: not empty, at most 12
    // characters, not in Userinfo. Locks the page when accepted.
    BOOL CheckNewUserID();
    // A new Userinfo row with only the ID; says why when none was made.
    BOOL InsertNewUser(const CString& id);

    // Set when the page's own ID field gave the held user; save-and-next
    // acts only then.
    bool m_idAccepted = false;
};
