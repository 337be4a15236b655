// A select box showing a setting of config.xml. The file may hold a value
// the box does not list (written by another program, or by hand): the box
// shows what that value means, the item of the same effect where the page
// names one, else an item of its own with the number. A visit on which the
// person never steps the box keeps the value the file holds; once stepped,
// the item the box is left on is the setting, even the one it began on.
#pragma once

#include <optional>

#include "widgets/JHSelectBox.h"

class CStoredChoice {
public:
    explicit CStoredChoice(CJHSelectBox& box) : m_box(box) {}

    // Makes the item of `stored` current, in a box filled anew. Without an
    // item of its own, `stored` shows as the item of value `sameEffect`
    // when given, else as an item added for it.
    void Show(int stored, std::optional<int> sameEffect = std::nullopt);
    // The setting as the page leaves it.
    int Value() const;
    // Value() into the settings document under `key`, not saved; a value the
    // list does not name that is kept stays as the file spells it.
    void Write(const char16_t* key) const;

private:
    CJHSelectBox& m_box;
    int m_stored = 0;
    bool m_listed = true;
};
