#include "core/AppDir.h"

#include "platform/base/modules.h"

void GetAppDir(CString& appDir) {
    constexpr int kRoom = 256;
    char16_t path[kRoom + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, kRoom);
    appDir = CString(path, static_cast<int>(length));
    appDir = appDir.Left(appDir.ReverseFind(u'\\') + 1);
}
