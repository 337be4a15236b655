#include "rules/StoredChoice.h"

#include "core/ConfigXml.h"
#include "rules/SelectorRows.h"

void CStoredChoice::Show(int stored, std::optional<int> sameEffect) {
    m_stored = stored;
    m_listed = m_box.SetCurSelByValue(stored) != FALSE;
    if (m_listed) return;
    if (sameEffect && m_box.SetCurSelByValue(*sameEffect)) return;
    AddNumberItem(m_box, stored);
    m_box.SetCurSelByValue(stored);
}

int CStoredChoice::Value() const { return m_box.Stepped() ? m_box.GetCurSelValue() : m_stored; }

void CStoredChoice::Write(const char16_t* key) const {
    const int value = Value();
    if (m_listed || value != m_stored) SetConfigInt(key, static_cast<UINT>(value), FALSE);
}
