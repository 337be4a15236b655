#include "rules/SelectorItems.h"

#include "core/MachineConfig.h"
#include "widgets/JHSelectBox.h"

void AddNumberItems(CJHSelectBox& box, int first, int last) {
    box.SetColors(TRUE, g_MachineConfig.PANELCOLOR, g_MachineConfig.PANELCOLOR);
    for (int number = first; number <= last; ++number) {
        CString text;
        text.Format(u"%d", number);
        box.AddItem(text, number);
    }
}
