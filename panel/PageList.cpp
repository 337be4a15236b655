// The pages of the control panel's menu, by node. Each page adds its line
// here (and its header above) when it is built.
#include "panel/PageRegistry.h"
#include "rules/ApplicationDlg.h"
#include "rules/AutoFNDlg.h"
#include "rules/CPTreeSpaceSetting.h"

void RegisterMenuPages() {
    RegisterControlPanelPage<CApplicationDlg>(141);
    RegisterControlPanelPage<CAutoFNDlg>(142);
    RegisterControlPanelPage<CCPTreeSpaceSetting>(165);
}
