// The user export page (menu node 1331): every user into Bak.yg2 and, when
// the operator agrees, every fingerprint template into Bak.zw, in the
// transfer folder of the chosen storage.
#pragma once

#include "transfer/TransferPage.h"

class CCPTreeUserExport : public CTransferPage {
public:
    enum { IDD = 147 };
    CCPTreeUserExport();

protected:
    void OnTransfer() override;
};
