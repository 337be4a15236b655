#include "platform/ui/stockclasses.h"

void RegisterStockClasses() {
    RegisterStaticClass();
    RegisterButtonClass();
    RegisterDialogClass();
    RegisterEditClass();
    RegisterHeaderClass();
    RegisterListViewClass();
    RegisterTreeViewClass();
}
