// CCPTreeDelUser: the older delete-user page, which no menu entry opens. It
// looks a typed ID up and shows the user's name; its delete button deletes
// nothing (the user delete page and the search list delete users).
#pragma once

#include "panel/CPTreeBase.h"
#include "widgets/JHKeyEdit.h"

class CCPTreeDelUser : public CCPTreeBase {
public:
    static constexpr UINT IDD = 140;

    CCPTreeDelUser();

    BOOL LeavePage() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnEditEnter();

    CJHKeyEdit m_editId;
    CJHKeyEdit m_editName;
    CString m_notFound;  // the ID names no user
};
