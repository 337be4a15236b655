#include "core/SharedText.h"

#include "platform/base/sync.h"

namespace {

// Made on first use, so that text fields of global objects may be used
// while other globals are still being constructed.
CRITICAL_SECTION& TextLock() {
    static CRITICAL_SECTION* lock = [] {
        auto* section = new CRITICAL_SECTION;
        InitializeCriticalSection(section);
        return section;
    }();
    return *lock;
}

class TextLockGuard {
public:
    TextLockGuard() { EnterCriticalSection(&TextLock()); }
    ~TextLockGuard() { LeaveCriticalSection(&TextLock()); }
};

}  // namespace

SharedText& SharedText::operator=(const CString& text) {
    CString copy = text;
    TextLockGuard guard;
    std::swap(m_text, copy);
    return *this;
}

CString SharedText::Get() const {
    TextLockGuard guard;
    return m_text;
}
