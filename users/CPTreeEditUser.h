// CCPTreeEditUser: the edit-user page (menu node 122). The user form of the
// add-user page over an existing user: an ID typed (or handed over by the
// user search list) loads the user; the form shows the stored row and how
// many fingers are enrolled, and saves over it. What the administrator did
// not change is written back as it was stored.
#pragma once

#include "users/UserFormPage.h"

class CCPTreeEditUser : public CUserFormPage {
public:
    static constexpr UINT kNode = 122;

    CCPTreeEditUser();

    // From a page that went to this node first: loads the ID; leaving saves
    // and returns to that page.
    void OpenForUser(CString id, UINT callerNode, CCPTreeBase* callerPage);

protected:
    void OnEditEnter(int controlId) override;
    void OnSave() override;
    void OnEnrollFingerprint() override;
    BOOL SaveUser() override;
    void ClearForm() override;
    CString CardInUseText() const override;
    bool MenuKeySaves() const override { return !m_verifyModeShown && m_caller.Node() == 0; }
    void PrepareMenuEntry() override;
    // Every box at its item of value 0 before the page is drawn.
    void FinishMenuEntry() override { ResetSelectBoxes(); }
    void OnVerifyModeShown() override;
    void OnVerifyModeClosed() override;
    void ShowFormExtras() override;

private:
    void LoadUser(const CString& id);
    void ShowUser(const UserInfoRecord& user);
    void CountFingerprints();
    void ResetSelectBoxes();

    // The choices as the loaded row showed them: the ones still showing
    // are not the administrator's and keep the stored values.
    UserFormChoices m_shownChoices;
    bool m_countShown = false;
};
