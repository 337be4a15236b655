#include "core/SharedText.h"

#include "core/PermanentLock.h"
#include "data/DataLocks.h"

namespace {

// Made on first use, so that text fields of global objects may be used
// while other globals are still being constructed.
CRITICAL_SECTION& TextLock() {
    static CRITICAL_SECTION& lock = NewPermanentLock();
    return lock;
}

}  // namespace

SharedText& SharedText::operator=(const CString& text) {
    CString copy = text;
    CLockGuard guard(TextLock());
    std::swap(m_text, copy);
    return *this;
}

CString SharedText::Get() const {
    CLockGuard guard(TextLock());
    return m_text;
}
