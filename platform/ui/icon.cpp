#include "platform/ui/icon.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/base/lasterror.h"
#include "platform/ui/image.h"

struct HICON__ {
    CxImage picture;
    int cx = 0;
    int cy = 0;
};

namespace {

std::mutex g_lock;

std::set<HICON>& LiveIcons() {
    static std::set<HICON> icons;
    return icons;
}

std::map<UINT, LPCWSTR>& ImageResources() {
    static std::map<UINT, LPCWSTR> resources;
    return resources;
}

bool IsLive(HICON icon) {
    std::lock_guard<std::mutex> guard(g_lock);
    return LiveIcons().count(icon) != 0;
}

LPCWSTR ResourcePath(LPCWSTR name) {
    std::lock_guard<std::mutex> guard(g_lock);
    auto found = ImageResources().find(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    return found == ImageResources().end() ? nullptr : found->second;
}

}  // namespace

void RegisterImageResource(UINT id, LPCWSTR devicePath) {
    std::lock_guard<std::mutex> guard(g_lock);
    ImageResources()[id] = devicePath;
}

HANDLE LoadImageW(HINSTANCE, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    if (type != IMAGE_ICON || name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const LPCWSTR path = (flags & LR_LOADFROMFILE) ? name : IS_INTRESOURCE(name) ? ResourcePath(name) : nullptr;
    auto icon = std::make_unique<HICON__>();
    if (path == nullptr || !icon->picture.Load(path, CXIMAGE_FORMAT_UNKNOWN)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    icon->cx = cx > 0 ? cx : static_cast<int>(icon->picture.GetWidth());
    icon->cy = cy > 0 ? cy : static_cast<int>(icon->picture.GetHeight());
    std::lock_guard<std::mutex> guard(g_lock);
    HICON handle = icon.release();
    LiveIcons().insert(handle);
    return handle;
}

HANDLE LoadImage(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    return LoadImageW(instance, name, type, cx, cy, flags);
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
    if (!IsLive(icon)) return FALSE;
    return icon->picture.Draw(dc, x, y, icon->cx, icon->cy) != 0;
}

BOOL DestroyIcon(HICON icon) {
    {
        std::lock_guard<std::mutex> guard(g_lock);
        if (LiveIcons().erase(icon) == 0) return FALSE;
    }
    delete icon;
    return TRUE;
}
