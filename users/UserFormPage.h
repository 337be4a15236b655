// The user form that the add-user and the edit-user page share: one dialog
// template, its widgets and texts (section "CCPTreeAddUser"), the limits of
// the typed fields, the select boxes, the verify-mode view, the card reader,
// the photo and the keys. A page built on it holds at most one user, by ID:
// the user it inserted or loaded. Only that user is ever saved, whatever the
// ID field shows meanwhile.
#pragma once

#include "data/Records.h"
#include "main/PhoneShow.h"
#include "panel/CPTreeBase.h"
#include "platform/ui/image.h"
#include "users/CallerLink.h"
#include "widgets/FontButton.h"
#include "widgets/FontStatic.h"
#include "widgets/ImagaBotton.h"
#include "widgets/JHKeyEdit.h"
#include "widgets/JHSelectBox.h"
#include "widgets/TransButton.h"

enum : int {
    IDC_USER_ID = 1031,
    IDC_USER_NAME = 1032,
    IDC_USER_ID_LABEL = 1033,
    IDC_USER_NAME_LABEL = 1034,
    IDC_USER_DEPT_LABEL = 1035,
    IDC_USER_SAVE = 1036,
    IDC_USER_ADMIN_LABEL = 1037,
    IDC_USER_DEPT = 1069,
    IDC_USER_ADMIN = 1070,
    IDC_USER_PIN_TITLE = 1076,
    IDC_USER_FP_PLUS = 1077,
    IDC_USER_CARD_PLUS = 1079,
    IDC_USER_PIN_PLUS = 1080,
    IDC_USER_CARD_PASS = 1081,
    IDC_USER_FP_PASS = 1082,
    IDC_USER_PIN_PASS = 1083,
    IDC_USER_PIN_STEP = 1109,
    IDC_USER_MODE_HEADING = 1120,
    IDC_USER_FP_TITLE = 1188,
    IDC_USER_CARD_TITLE = 1189,
    IDC_USER_FP_STEP = 1190,
    IDC_USER_CARD_STEP = 1191,
    IDC_USER_CARD_LABEL = 1192,
    IDC_USER_CARD = 1193,
    IDC_USER_PASSWORD_LABEL = 1194,
    IDC_USER_SEX_LABEL = 1195,
    IDC_USER_SEX = 1196,
    IDC_USER_PASSWORD = 1197,
    IDC_USER_MODE_SWITCH = 1198,
    IDC_USER_GROUP = 1199,
    IDC_USER_GROUP_LABEL = 1200,
    IDC_USER_ENROLL = 1323,
    IDC_USER_PICTURE = 1324,
    IDC_USER_MODE = 1325,
    IDC_USER_PHOTO = 1326,
    IDC_USER_FP_COUNT = 1357,
    IDC_USER_FP_ICON = 1358,
};

// The values the form's select boxes show.
struct UserFormChoices {
    int dept = 0;
    int admin = 0;
    int group = 0;
    int modeSwitch = 0;
    int fpStep = 0;
    int cardStep = 0;
    int pinStep = 0;

    bool SameVerifyMode(const UserFormChoices& other) const {
        return modeSwitch == other.modeSwitch && fpStep == other.fpStep && cardStep == other.cardStep &&
               pinStep == other.pinStep;
    }
};

class CUserFormPage : public CCPTreeBase {
public:
    static constexpr UINT IDD = 132;
    static constexpr UINT_PTR kCardPromptTimer = 1;
    static constexpr UINT kCardPromptMs = 1000;

    // The user the page holds (inserted or loaded), empty when none.
    const CString& HeldUserId() const { return m_heldId; }

    BOOL EnterPage() override;
    BOOL LeavePage() override;

protected:
    CUserFormPage();

    // What differs between the add-user and the edit-user page.
    virtual void OnEditEnter(int controlId) = 0;
    virtual void OnSave() = 0;
    virtual void OnEnrollFingerprint() = 0;
    // Stores the form into the held user's row; FALSE (after saying why)
    // when nothing was stored.
    virtual BOOL SaveUser() = 0;
    virtual void ClearForm() = 0;
    // The text 1193 shows for a card another user has.
    virtual CString CardInUseText() const = 0;
    virtual void OnCardAccepted() {}
    // Alt saves; Enter on Enroll FP enrols.
    virtual bool MenuKeySaves() const { return true; }
    virtual bool EnterOnEnrollActs() const { return false; }
    // A menu entry, before and after the form is cleared (the page is
    // drawn after both); the verify-mode view shown and closed; the form
    // view shown.
    virtual void PrepareMenuEntry() {}
    virtual void FinishMenuEntry() {}
    virtual void OnVerifyModeShown() {}
    virtual void OnVerifyModeClosed() {}
    virtual void ShowFormExtras() {}

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;

    // Clears what both pages clear: texts, card, boxes at their first items,
    // caller, lock, the held user, the photo. The focus goes to the ID.
    void ClearFormFields();
    void FillVerifyModeBoxes();
    // The verify-mode rows enabled by the switch, and each row's trailing
    // label.
    void ApplyModeSwitch();
    void UpdateStepLabels();
    // The group box at `group`. A number the list does not name (a peer's
    // file may bring any from 0 to 255) has an item of its own until the box
    // is shown at another group: it is seen, and kept by a save that leaves
    // it.
    void ShowGroup(int group);
    UserFormChoices ReadChoices() const;
    // Name, password, card and the choices into `user`; a choice equal to
    // its value in `kept` (when given) keeps the stored field, and so does
    // a name or password equal to the one in `user`. FALSE with the message
    // when a name or password typed here is too long.
    bool FillRecordFromForm(UserInfoRecord& user, const UserFormChoices* kept);
    // The row updated; a failure is said and gives FALSE.
    BOOL StoreUser(const UserInfoRecord& user);
    void ShowMessageText(LPCWSTR key, LPCWSTR defaultText);

    void OnTakePhoto();
    void ShowUserPhoto();
    void StopPreview();
    void OnShowVerifyMode();
    void CloseVerifyMode();
    void HideFormWidgets();
    void ShowFormWidgets();
    void FocusId(bool selectAll);
    // Jumps to the enrolment page for the held user, this page its caller.
    void GotoEnrolment(UINT ownNode);

    CString IdText() const;
    void SetIdText(const CString& text) { m_editId.SetWindowText(text); }
    // Shows a stored name or password whole: only a text typed here is
    // held to the page's limit, so viewing a user changes nothing stored.
    void ShowStoredText(CEdit& edit, const CString& text);

    CJHSelectBox m_boxDept, m_boxAdmin, m_boxGroup, m_boxSex, m_boxModeSwitch, m_boxFpStep, m_boxCardStep,
        m_boxPinStep;
    CJHKeyEdit m_editId, m_editName, m_editPassword;
    CFontStatic m_labelId, m_labelCard, m_labelName, m_labelPassword, m_labelDept, m_labelAdmin, m_labelSex,
        m_labelGroup, m_cardDisplay;
    CFontButton m_btnSave;
    CFontStatic m_modeHeading, m_fpTitle, m_cardTitle, m_pinTitle, m_fpPlus, m_cardPlus, m_pinPlus, m_fpPass,
        m_cardPass, m_pinPass;
    CTransButton m_btnMode, m_btnPicture, m_btnEnroll;
    CPhoneShow m_photo;
    CFontStatic m_fpCount;
    CImagaBotton m_fpIcon;

    CString m_cardNo;
    CString m_heldId;
    CCallerLink m_caller;
    bool m_previewOn = false;
    bool m_verifyModeShown = false;
    CRect m_photoRect{200, 13, 330, 133};

private:
    void LoadTexts();
    void LayoutControls();
    void FillDepartments();
    void OnCardNo();
    void OnSelChange(int controlId);
    void EnforceLength(CEdit& edit, int limit, LPCWSTR key, LPCWSTR defaultText);
    void TakeCardTarget();
    void ReleaseCardTarget();
    template <class Widget>
    void ForEachCanvas(Widget&& apply);

    CString m_stepTexts[6];
    CxImage m_background;
    CFont m_font;
    bool m_cardTarget = false;
    // The edit being filled from the store, exempt from the typing limit.
    const CEdit* m_showingStored = nullptr;
};
