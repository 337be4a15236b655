// The pages of the control panel's menu, by node. Each page adds its line
// here (and its header above) when it is built.
#include "panel/PageRegistry.h"
#include "rules/ApplicationDlg.h"
#include "rules/AutoFNDlg.h"
#include "rules/CPTreeACSetting.h"
#include "rules/CPTreeAtRecordSetting.h"
#include "rules/CPTreeGroupSetting.h"
#include "rules/CPTreeSpaceSetting.h"
#include "rules/CPTreeVertifyType.h"
#include "transfer/CPTreeBackupDatabase.h"
#include "transfer/CPTreeDataImport.h"
#include "transfer/CPTreeRecord.h"
#include "transfer/CPTreeRecordExport.h"
#include "transfer/CPTreeRestoreDatabase.h"
#include "transfer/CPTreeUserExport.h"
#include "transfer/UpdateDlg.h"
#include "users/CPTreeAddUser.h"
#include "users/CPTreeEditUser.h"
#include "users/CPTreeRegFP.h"
#include "users/CPTreeSearchUser.h"
#include "users/UserDeleteDlg.h"

void RegisterMenuPages() {
    RegisterControlPanelPage<CCPTreeRegFP>(CCPTreeRegFP::kNode);
    RegisterControlPanelPage<CCPTreeAddUser>(CCPTreeAddUser::kNode);
    RegisterControlPanelPage<CCPTreeEditUser>(CCPTreeEditUser::kNode);
    RegisterControlPanelPage<CUserDeleteDlg>(CUserDeleteDlg::kNode);
    RegisterControlPanelPage<CCPTreeSearchUser>(CCPTreeSearchUser::kNode);
    RegisterControlPanelPage<CCPTreeRecord>(131);
    RegisterControlPanelPage<CCPTreeDataImport>(132);
    RegisterControlPanelPage<CCPTreeUserExport>(1331);
    RegisterControlPanelPage<CCPTreeRecordExport>(1332);
    RegisterControlPanelPage<CCPTreeBackupDatabase>(134);
    RegisterControlPanelPage<CCPTreeRestoreDatabase>(135);
    RegisterControlPanelPage<CUpdateDlg>(136);
    RegisterControlPanelPage<CCPTreeAtRecordSetting>(154);
    RegisterControlPanelPage<CCPTreeVertifyType>(163);
    RegisterControlPanelPage<CCPTreeACSetting>(164);
    RegisterControlPanelPage<CCPTreeGroupSetting>(166);
    RegisterControlPanelPage<CApplicationDlg>(141);
    RegisterControlPanelPage<CAutoFNDlg>(142);
    RegisterControlPanelPage<CCPTreeSpaceSetting>(165);
}
