#include "platform/ui/gdiobject.h"

#include "platform/ui/afxtemp.h"

#include <mutex>
#include <unordered_set>

namespace {

struct HandleTable {
    std::mutex lock;
    std::unordered_set<GdiObject*> live;
};

HandleTable& Table() {
    static HandleTable table;
    return table;
}

}  // namespace

FontObject::FontObject(const LOGFONTW& lf) : GdiObject(OBJ_FONT), font(lf) {}

BitmapObject::BitmapObject(int width, int height, int bits)
    : GdiObject(OBJ_BITMAP), surface(width, height), bitsPerPixel(bits) {}

HGDIOBJ RegisterGdiObject(GdiObject* object) {
    HandleTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    table.live.insert(object);
    return reinterpret_cast<HGDIOBJ>(object);
}

GdiObject* GdiObjectFromHandle(HGDIOBJ handle) {
    if (handle == nullptr)
        return nullptr;
    auto* object = reinterpret_cast<GdiObject*>(handle);
    HandleTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    return table.live.count(object) != 0 ? object : nullptr;
}

// Returns true when the object is gone from the table and must be freed now.
static bool Unregister(GdiObject* object) {
    HandleTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    if (table.live.erase(object) == 0)
        return false;
    if (object->selections > 0) {
        object->deletePending = true;
        return false;
    }
    return true;
}

BOOL DeleteObject(HGDIOBJ handle) {
    GdiObject* object = GdiObjectFromHandle(handle);
    if (object == nullptr)
        return FALSE;
    if (object->stock)
        return TRUE;
    bool freeNow = Unregister(object);
    ForgetTemporaryObject(handle);
    if (freeNow)
        delete object;
    return TRUE;
}

void RetainSelected(HGDIOBJ handle) {
    if (handle == nullptr)
        return;
    HandleTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    ++reinterpret_cast<GdiObject*>(handle)->selections;
}

void ReleaseSelected(HGDIOBJ handle) {
    if (handle == nullptr)
        return;
    auto* object = reinterpret_cast<GdiObject*>(handle);
    bool free = false;
    {
        HandleTable& table = Table();
        std::lock_guard<std::mutex> guard(table.lock);
        free = --object->selections == 0 && object->deletePending;
    }
    if (free)
        delete object;
}
