// The database restore page (menu node 135): a copy made by the backup page
// put in the place of the live database file, after which the I/O
// controller restarts the terminal.
#pragma once

#include "transfer/TransferPage.h"

class CCPTreeRestoreDatabase : public CTransferPage {
public:
    enum : UINT { IDD = 145 };
    enum : int { IDC_STORAGE = 1152, IDC_RESTORE = 1151 };
    CCPTreeRestoreDatabase();

protected:
    void OnTransfer() override;

private:
    // Puts the checked copy in the live file's place and opens it; on any
    // failure the old file is back in place and open.
    bool ReplaceLiveDatabase(const CString& copy);
};
