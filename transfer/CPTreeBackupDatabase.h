// The database backup page (menu node 134): the whole database copied to
// the USB disk, the device's flash root or the SD card, while it stays open.
#pragma once

#include "transfer/TransferPage.h"

class CCPTreeBackupDatabase : public CTransferPage {
public:
    enum : UINT { IDD = 144 };
    enum : int { IDC_STORAGE = 1150, IDC_BACKUP = 1144 };
    CCPTreeBackupDatabase();

protected:
    void OnTransfer() override;
    // Enter on the button backs up, and then, as on every control, the
    // focus moves on.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
