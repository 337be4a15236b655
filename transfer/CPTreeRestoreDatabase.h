// The database restore page (menu node 135): a copy made by the backup page
// put in the place of the live database's content, after which the I/O
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
};
