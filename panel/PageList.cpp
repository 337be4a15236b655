// The pages of the control panel's menu, by node. Each page adds its line
// here (and its header above) when it is built.
#include "panel/PageRegistry.h"
#include "transfer/CPTreeRecord.h"

void RegisterMenuPages() {
    RegisterControlPanelPage<CCPTreeRecord>(131);
}
