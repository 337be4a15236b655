// CAdminVerifyDlg: who opens the control panel. Over the main screen it asks
// for a finger on the sensor, or a user ID and password on the keypad, and
// ends with IDOK for an administrator, kRefused for anyone else and
// IDCANCEL when the user gives up (ESC).
#pragma once

#include "panel/PanelScreen.h"
#include "platform/ui/CEdit.h"
#include "widgets/FontStatic.h"

class CAdminVerifyDlg : public CPanelScreen {
public:
    static constexpr UINT IDD = 128;
    static constexpr INT_PTR kRefused = 3;

    explicit CAdminVerifyDlg(CWnd* parent);

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // Looks for a finger on the sensor.
    void OnTimer(UINT_PTR id) override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    void CheckPassword();

    CFontStatic m_prompt;
    CFontStatic m_idLabel;
    CFontStatic m_passwordLabel;
    CEdit m_id;
    CEdit m_password;
};

// True when some user of the database is an administrator.
bool AnyAdministratorEnrolled();
// True when the user is an administrator whose password is `password`; a
// user without a password never passes this way.
bool IsAdministratorPassword(const CString& userId, const CString& password);
bool IsAdministrator(const CString& userId);
