// The record export page (menu node 1332): all attendance records, or only
// the new ones, into Bak.kq in the transfer folder of the chosen storage.
// The record store is not changed: the same new records go out again next
// time.
#pragma once

#include "transfer/TransferPage.h"

class CCPTreeRecordExport : public CTransferPage {
public:
    enum { IDD = 146 };
    CCPTreeRecordExport();

protected:
    void OnTransfer() override;
};
