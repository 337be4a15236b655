#include "platform/ui/afxgdi.h"

#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/ui/afxtemp.h"

namespace {

template <class Handle, class Wrapper>
class TemporaryMap {
public:
    // Temporary wrappers never own their handles, not even at exit.
    ~TemporaryMap() {
        for (auto& entry : m_map)
            entry.second->Detach();
    }

    template <class Make>
    Wrapper* Find(Handle handle, Make make) {
        std::lock_guard<std::mutex> guard(m_lock);
        auto& slot = m_map[handle];
        if (!slot)
            slot = make();
        return slot.get();
    }

    void Forget(Handle handle) {
        std::unique_ptr<Wrapper> gone;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            auto found = m_map.find(handle);
            if (found == m_map.end())
                return;
            gone = std::move(found->second);
            m_map.erase(found);
        }
        gone->Detach();
    }

private:
    std::mutex m_lock;
    std::unordered_map<Handle, std::unique_ptr<Wrapper>> m_map;
};

TemporaryMap<HGDIOBJ, CGdiObject>& TemporaryObjects() {
    static TemporaryMap<HGDIOBJ, CGdiObject> map;
    return map;
}

TemporaryMap<HDC, CDC>& TemporaryDCs() {
    static TemporaryMap<HDC, CDC> map;
    return map;
}

std::unique_ptr<CGdiObject> WrapperFor(HGDIOBJ handle) {
    std::unique_ptr<CGdiObject> wrapper;
    switch (::GetObjectType(handle)) {
    case OBJ_PEN: wrapper = std::make_unique<CPen>(); break;
    case OBJ_BRUSH: wrapper = std::make_unique<CBrush>(); break;
    case OBJ_FONT: wrapper = std::make_unique<CFont>(); break;
    case OBJ_BITMAP: wrapper = std::make_unique<CBitmap>(); break;
    case OBJ_REGION: wrapper = std::make_unique<CRgn>(); break;
    default: wrapper = std::make_unique<CGdiObject>(); break;
    }
    wrapper->m_hObject = handle;
    return wrapper;
}

}  // namespace

void ForgetTemporaryObject(HGDIOBJ handle) { TemporaryObjects().Forget(handle); }
void ForgetTemporaryDC(HDC handle) { TemporaryDCs().Forget(handle); }

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) {
    if (handle == nullptr)
        return nullptr;
    return TemporaryObjects().Find(handle, [&] { return WrapperFor(handle); });
}

BOOL CGdiObject::Attach(HGDIOBJ handle) {
    if (handle == nullptr)
        return FALSE;
    m_hObject = handle;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() { return std::exchange(m_hObject, nullptr); }

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc != nullptr ? dc->m_hDC : nullptr, width, height));
}

CDC::~CDC() {
    if (m_hDC != nullptr)
        ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC handle) {
    if (handle == nullptr)
        return nullptr;
    return TemporaryDCs().Find(handle, [&] {
        auto wrapper = std::make_unique<CDC>();
        wrapper->m_hDC = wrapper->m_hAttribDC = handle;
        return wrapper;
    });
}

BOOL CDC::Attach(HDC handle) {
    if (handle == nullptr)
        return FALSE;
    m_hDC = m_hAttribDC = handle;
    return TRUE;
}

HDC CDC::Detach() {
    m_hAttribDC = nullptr;
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::DeleteDC() {
    if (m_hDC == nullptr)
        return FALSE;
    return ::DeleteDC(Detach());
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    ::SetBkColor(m_hDC, color);
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    RECT rect{x, y, x + cx, y + cy};
    FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight) {
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT previous{0, 0};
    ::MoveToEx(m_hDC, x, y, &previous);
    return CPoint(previous);
}

CPoint CDC::GetCurrentPosition() const {
    POINT position{0, 0};
    ::GetCurrentPositionEx(m_hDC, &position);
    return CPoint(position);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR text) {
    return ::TextOut(m_hDC, x, y, text, text != nullptr ? static_cast<int>(std::u16string_view(text).size()) : 0);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, LPINT dx) {
    UINT length = text != nullptr ? static_cast<UINT>(std::u16string_view(text).size()) : 0;
    return ::ExtTextOut(m_hDC, x, y, options, rect, text, length, dx);
}

CSize CDC::GetTextExtent(LPCTSTR text, int length) const {
    SIZE size{0, 0};
    ::GetTextExtentPoint32(m_hDC, text, length, &size);
    return CSize(size);
}

CSize CDC::GetTextExtent(LPCTSTR text) const {
    return GetTextExtent(text, text != nullptr ? static_cast<int>(std::u16string_view(text).size()) : 0);
}
