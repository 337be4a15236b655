// The technician's debug window: debug lines on the screen (newest first),
// the debug channel, two fingerprint test switches, a memory report every
// 10 s, a card-reader test and a forced watchdog reset.
#pragma once

#include <vector>

#include "platform/ui/afxcmn.h"
#include "platform/ui/afxwin.h"

class CDebugWin : public CDialog {
public:
    static constexpr UINT IDD = 152;
    static constexpr int kListId = 1173;
    static constexpr UINT kAddTextMessage = WM_USER + 2397;

    struct Row {
        CString tick;
        CString text;
    };

    CDebugWin() : CDialog(IDD, nullptr) {}

    // A row on top of the list: the tick count and the text. 0 for an
    // empty text.
    int AddLine(const CString& text);
    // The list's rows, newest first.
    std::vector<Row> Rows() const;
    const CListCtrl& List() const { return m_list; }
    DWORD OwnerThread() const { return m_threadId; }

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;
    void OnOK() override {}
    void OnCancel() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;

private:
    CListCtrl m_list;
    int m_channel = 0;
    DWORD m_threadId = 0;
};

void SetDebugWindow(CDebugWin* window);
CDebugWin* GetDebugWindow();
// Hands a debug line to the open window: at once on its own thread, posted
// from any other (a worker never waits for the user interface).
void PostDebugWindowLine(const CString& text);
// Closes the previous window and opens a new one over `parent`.
CDebugWin* OpenDebugWindow(CWnd* parent);
// The memory line of the report.
CString GetMemoryStatusText();
