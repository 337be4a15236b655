// The pages of the control panel's menu, by node. Each page adds its line
// here (and its header above) when it is built.
#include "panel/PageRegistry.h"
#include "transfer/CPTreeBackupDatabase.h"
#include "transfer/CPTreeDataImport.h"
#include "transfer/CPTreeRecord.h"
#include "transfer/CPTreeRecordExport.h"
#include "transfer/CPTreeRestoreDatabase.h"
#include "transfer/CPTreeUserExport.h"
#include "transfer/UpdateDlg.h"

void RegisterMenuPages() {
    RegisterControlPanelPage<CCPTreeRecord>(131);
    RegisterControlPanelPage<CCPTreeDataImport>(132);
    RegisterControlPanelPage<CCPTreeUserExport>(1331);
    RegisterControlPanelPage<CCPTreeRecordExport>(1332);
    RegisterControlPanelPage<CCPTreeBackupDatabase>(134);
    RegisterControlPanelPage<CCPTreeRestoreDatabase>(135);
    RegisterControlPanelPage<CUpdateDlg>(136);
}
