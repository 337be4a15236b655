#include "platform/ui/dc.h"

#include <mutex>
#include <string_view>
#include <unordered_set>

#include "platform/ui/afxtemp.h"
#include "platform/ui/display.h"
#include "platform/ui/gdi.h"
#include "platform/ui/gdiobject.h"
#include "platform/ui/stock.h"
#include "platform/ui/window.h"

namespace {

Surface* g_screen = nullptr;

struct DCTable {
    std::mutex lock;
    std::unordered_set<DeviceContext*> live;
};

DCTable& Table() {
    static DCTable table;
    return table;
}

HDC Register(DeviceContext* dc) {
    DCTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    table.live.insert(dc);
    return reinterpret_cast<HDC>(dc);
}

void ReleaseState(const DCState& state) {
    ReleaseSelected(state.pen);
    ReleaseSelected(state.brush);
    ReleaseSelected(state.font);
    ReleaseSelected(state.bitmap);
}

void RetainState(const DCState& state) {
    RetainSelected(state.pen);
    RetainSelected(state.brush);
    RetainSelected(state.font);
    RetainSelected(state.bitmap);
}

// Points a memory DC at the bitmap now selected in it.
void TargetBitmap(DeviceContext& dc) {
    auto* bitmap = reinterpret_cast<BitmapObject*>(dc.state.bitmap);
    dc.surface = &bitmap->surface;
    dc.systemClip = Region(bitmap->surface.Bounds());
    dc.InvalidateClip();
}

// Moves a window DC to where its window is now.
void FollowWindow(DeviceContext& dc) {
    WindowPlace now = dc.place();
    if (now.origin.x == dc.origin.x && now.origin.y == dc.origin.y && now.clip == dc.systemClip)
        return;
    dc.origin = now.origin;
    dc.systemClip = std::move(now.clip);
    dc.InvalidateClip();
}

}  // namespace

void SetScreenSurface(Surface* screen) { g_screen = screen; }
Surface* GetScreenSurface() { return g_screen; }

DeviceContext::DeviceContext(Kind k, Surface* target, POINT org, const Region& clip)
    : kind(k), surface(target), origin(org), systemClip(clip) {
    state.pen = GetStockObject(BLACK_PEN);
    state.brush = GetStockObject(WHITE_BRUSH);
    state.font = GetStockObject(SYSTEM_FONT);
    state.bitmap = kind == Kind::Memory ? DefaultBitmap() : nullptr;
    RetainState(state);
    if (kind == Kind::Memory)
        TargetBitmap(*this);
}

const Region& DeviceContext::EffectiveClip() {
    if (m_clipValid)
        return m_effectiveClip;
    m_effectiveClip = systemClip;
    if (state.appClip)
        m_effectiveClip.Intersect(*state.appClip);
    m_effectiveClip.Offset(origin.x, origin.y);
    m_effectiveClip.Intersect(surface != nullptr ? surface->Bounds() : RECT{0, 0, 0, 0});
    m_clipValid = true;
    return m_effectiveClip;
}

DeviceContext* DCFromHandle(HDC handle) {
    if (handle == nullptr)
        return nullptr;
    auto* dc = reinterpret_cast<DeviceContext*>(handle);
    DCTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    return table.live.count(dc) != 0 ? dc : nullptr;
}

HDC CreateSurfaceDC(Surface* surface, POINT origin, const Region& clip) {
    return Register(new DeviceContext(DeviceContext::Kind::Surface, surface, origin, clip));
}

HDC CreateWindowSurfaceDC(Surface* surface, PlaceOfWindow place) {
    WindowPlace now = place();
    auto* dc = new DeviceContext(DeviceContext::Kind::Surface, surface, now.origin, now.clip);
    dc->place = std::move(place);
    return Register(dc);
}

void ReleaseSurfaceDC(HDC dc) { DeleteDC(dc); }

DrawingOn::DrawingOn(HDC handle) : m_dc(DCFromHandle(handle)) {
    if (m_dc == nullptr || m_dc->surface == nullptr || m_dc->surface != GetScreenSurface())
        return;
    m_still = std::unique_lock<std::recursive_mutex>(WindowLock());
    if (m_dc->place)
        FollowWindow(*m_dc);
}

HDC CreateCompatibleDC(HDC) {
    return Register(new DeviceContext(DeviceContext::Kind::Memory, nullptr, POINT{0, 0}, Region()));
}

HDC CreateDCW(LPCWSTR driver, LPCWSTR, LPCWSTR, const void*) {
    if (driver == nullptr || std::u16string_view(driver) != u"DISPLAY")
        return nullptr;
    Surface* screen = GetScreenSurface();
    RECT bounds = screen != nullptr ? screen->Bounds() : RECT{0, 0, 0, 0};
    return Register(new DeviceContext(DeviceContext::Kind::Display, screen, POINT{0, 0}, Region(bounds)));
}

HDC CreateDC(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* initData) {
    return CreateDCW(driver, device, output, initData);
}

BOOL DeleteDC(HDC handle) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr)
        return FALSE;
    {
        DCTable& table = Table();
        std::lock_guard<std::mutex> guard(table.lock);
        table.live.erase(dc);
    }
    ForgetTemporaryDC(handle);
    ReleaseState(dc->state);
    for (const DCState& saved : dc->saved)
        ReleaseState(saved);
    // What was drawn on the screen is shown now, whichever loop runs.
    const bool onScreen = dc->kind != DeviceContext::Kind::Memory && dc->surface != nullptr &&
                          dc->surface == GetScreenSurface();
    delete dc;
    if (onScreen) DisplayPainted();
    return TRUE;
}

int SaveDC(HDC handle) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr)
        return 0;
    dc->saved.push_back(dc->state);
    RetainState(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int savedDC) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr)
        return FALSE;
    int depth = static_cast<int>(dc->saved.size());
    int index = savedDC < 0 ? depth + savedDC : savedDC - 1;
    if (index < 0 || index >= depth)
        return FALSE;
    ReleaseState(dc->state);
    dc->state = dc->saved[index];
    for (int i = index + 1; i < depth; ++i)
        ReleaseState(dc->saved[i]);
    dc->saved.resize(index);
    if (dc->kind == DeviceContext::Kind::Memory)
        TargetBitmap(*dc);
    dc->InvalidateClip();
    return TRUE;
}

int GetDeviceCaps(HDC handle, int index) {
    DeviceContext* dc = DCFromHandle(handle);
    Surface* screen = GetScreenSurface();
    int width = screen != nullptr ? screen->Width() : 320;
    int height = screen != nullptr ? screen->Height() : 240;
    if (dc != nullptr && dc->kind == DeviceContext::Kind::Memory && dc->surface != nullptr) {
        width = dc->surface->Width();
        height = dc->surface->Height();
    }
    switch (index) {
    case HORZRES: return width;
    case VERTRES: return height;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case HORZSIZE: return width * 254 / 960;
    case VERTSIZE: return height * 254 / 960;
    default: return 0;
    }
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ objectHandle) {
    DeviceContext* dc = DCFromHandle(handle);
    GdiObject* object = GdiObjectFromHandle(objectHandle);
    if (dc == nullptr || object == nullptr)
        return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (object->type) {
    case OBJ_PEN: slot = &dc->state.pen; break;
    case OBJ_BRUSH: slot = &dc->state.brush; break;
    case OBJ_FONT: slot = &dc->state.font; break;
    case OBJ_BITMAP:
        if (dc->kind != DeviceContext::Kind::Memory)
            return nullptr;
        slot = &dc->state.bitmap;
        break;
    case OBJ_REGION: return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(SelectClipRgn(handle, objectHandle)));
    default: return nullptr;
    }
    HGDIOBJ previous = *slot;
    RetainSelected(objectHandle);
    *slot = objectHandle;
    if (object->type == OBJ_BITMAP)
        TargetBitmap(*dc);
    ReleaseSelected(previous);
    // The previous object may have been deleted while selected: its handle is
    // dead then, and the caller gets nothing to select back.
    return GdiObjectFromHandle(previous) != nullptr ? previous : nullptr;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr)
        return nullptr;
    switch (type) {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_BITMAP: return dc->state.bitmap;
    default: return nullptr;
    }
}
