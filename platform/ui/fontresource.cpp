// Font files of the device image registered at run time.
#include <mutex>

#include "platform/ui/font.h"
#include "platform/ui/gdi.h"
#include "platform/ui/hostpath.h"

int AddFontResourceW(LPCWSTR path) {
    if (path == nullptr)
        return 0;
    std::lock_guard<std::recursive_mutex> lock(FontLock());
    return AddFontFile(HostPathOf(path));
}

int AddFontResource(LPCWSTR path) { return AddFontResourceW(path); }

BOOL RemoveFontResourceW(LPCWSTR path) {
    if (path == nullptr)
        return FALSE;
    std::lock_guard<std::recursive_mutex> lock(FontLock());
    return RemoveFontFile(HostPathOf(path)) ? TRUE : FALSE;
}

BOOL RemoveFontResource(LPCWSTR path) { return RemoveFontResourceW(path); }
