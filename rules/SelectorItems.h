// The numbered items of the rule pages' selectors (zones, groups): the
// numbers as texts, each item's value its number.
#pragma once

class CJHSelectBox;

// Appends first ... last; gives the box the PANELCOLOR colours.
void AddNumberItems(CJHSelectBox& box, int first, int last);
