// A select box showing a setting of config.xml. The file may hold a value
// the box does not list (written by another program, or by hand): the box
// then shows its first item, and the setting keeps the value the file holds
// until the person chooses another item, so that leaving the page to change
// something else does not change this setting as well.
#pragma once

#include "widgets/JHSelectBox.h"

class CStoredChoice {
public:
    explicit CStoredChoice(CJHSelectBox& box) : m_box(box) {}

    // Makes the item of `stored` current; without one the first item stays.
    void Show(int stored);
    // The setting as the page leaves it: the chosen item's value, or the
    // stored value while it is kept.
    int Value() const;
    // Value() into the settings document under `key`, not saved; a value the
    // box does not list is left as the file holds it.
    void Write(const char16_t* key) const;

private:
    bool Kept() const;

    CJHSelectBox& m_box;
    int m_stored = 0;
    bool m_listed = true;
    int m_shown = 0;
};
