// The data import page (menu node 132): users and, when the operator
// agrees, fingerprint templates from the transfer folder of the chosen
// storage into the database and the template store.
#pragma once

#include "transfer/TransferPage.h"

class CTransferImport;

class CCPTreeDataImport : public CTransferPage {
public:
    enum { IDD = 142 };
    CCPTreeDataImport();

    BOOL LeavePage() override;

protected:
    void OnTransfer() override;

private:
    // What did not come in, then why the import stopped, or else the
    // success text when nothing is missing.
    void Report(const CTransferImport& import, bool userFileFound);
};
