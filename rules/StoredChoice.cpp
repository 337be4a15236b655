#include "rules/StoredChoice.h"

#include "core/ConfigXml.h"

void CStoredChoice::Show(int stored) {
    m_stored = stored;
    m_listed = m_box.SetCurSelByValue(stored) != FALSE;
    m_shown = m_box.GetCurSelValue();
}

bool CStoredChoice::Kept() const { return !m_listed && m_box.GetCurSelValue() == m_shown; }

int CStoredChoice::Value() const { return Kept() ? m_stored : m_box.GetCurSelValue(); }

void CStoredChoice::Write(const char16_t* key) const {
    if (!Kept()) SetConfigInt(key, static_cast<UINT>(Value()), FALSE);
}
