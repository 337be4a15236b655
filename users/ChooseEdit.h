// CChooseEdit: the pop-up card of one user (ID, name, department,
// administrator or not, and the photo) over the page that opened it, with
// the hints of that page's edit (F2) and delete (F3) keys. It changes
// nothing itself: F2, F3 and ESC close it, the page learns which key did
// (ClosingKey), and the key's release goes on to the page below.
#pragma once

#include <memory>

#include "platform/ui/image.h"
#include "widgets/FontStatic.h"
#include "widgets/ScreenSnapshot.h"
#include "widgets/SelectButton.h"

class CChooseEdit : public CDialog {
public:
    static constexpr UINT IDD = 172;
    static constexpr UINT kCloseRequest = WM_USER + 100;
    enum Mode { kEditAndDelete = 0, kDeleteOnly = 1 };

    CChooseEdit(CWnd* parent, int mode);

    // The user to show; before DoModal. DoModal gives IDOK when a key closed
    // the card, IDCANCEL when the ID is not in the user table.
    void SetUserID(const CString& userId) { m_userId = userId; }
    // The key that closed the card (VK_F2, VK_F3 or VK_ESCAPE), 0 when none
    // did.
    UINT ClosingKey() const { return m_closingKey; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CloseOnKey(UINT key);
    void OnCloseRequest();
    void ShowWidgets(bool show);
    template <class F>
    void ForEachWidget(F f);

    CFontStatic m_idValue, m_nameValue, m_deptValue, m_adminValue;
    CFontStatic m_fingerCaption, m_idCaption, m_nameCaption, m_deptCaption, m_adminCaption;
    CString m_userId;
    CxImage m_background;
    CxImage m_fingerIcon;
    std::unique_ptr<CScreenSnapshot> m_snapshot;
    CSelectButton m_editHint, m_deleteHint;
    int m_mode;
    UINT m_closingKey = 0;
};
