// CUserDeleteDlg: deletes one user chosen by ID. Enter shows the user's card,
// F3 asks and deletes the user with his fingerprints.
#pragma once

#include "panel/CPTreeBase.h"
#include "platform/ui/image.h"
#include "widgets/FontStatic.h"
#include "widgets/JHKeyEdit.h"

class CUserDeleteDlg : public CCPTreeBase {
public:
    static constexpr UINT IDD = 174;
    static constexpr UINT kNode = 123;

    CUserDeleteDlg();

    BOOL EnterPage() override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnEditEnter(int controlId);
    // The typed ID, read as a number and written back as the pages store it.
    CString TypedUserId() const;
    void ShowChosenUser();
    void DeleteTypedUser();

    CFontStatic m_idLabel;
    CJHKeyEdit m_editId;
    CxImage m_background;
};
