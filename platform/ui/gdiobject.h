// The objects behind HGDIOBJ handles (pens, brushes, fonts, bitmaps,
// regions) and their handle table.
//
// An object selected into a DC stays alive until it is deselected, even if
// the application deletes it first (a class-library bitmap going out of scope
// while still selected): its handle dies at once, its memory with the last
// selection.
#pragma once

#include <memory>

#include "platform/base/types.h"
#include "platform/ui/gdi_types.h"
#include "platform/ui/region.h"
#include "platform/ui/surface.h"

class FontFace;

class GdiObject {
public:
    explicit GdiObject(int objType) : type(objType) {}
    virtual ~GdiObject() = default;

    const int type;  // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION
    bool stock = false;
    int selections = 0;
    bool deletePending = false;
};

class PenObject : public GdiObject {
public:
    explicit PenObject(const LOGPEN& lp) : GdiObject(OBJ_PEN), pen(lp) {}
    LOGPEN pen;
};

class BrushObject : public GdiObject {
public:
    explicit BrushObject(const LOGBRUSH& lb) : GdiObject(OBJ_BRUSH), brush(lb) {}
    LOGBRUSH brush;
};

class FontObject : public GdiObject {
public:
    explicit FontObject(const LOGFONTW& lf);
    LOGFONTW font;
    // Resolved on first use and kept: the face and size glyphs come from.
    std::shared_ptr<FontFace> face;
};

class BitmapObject : public GdiObject {
public:
    BitmapObject(int width, int height, int bitsPerPixel);
    Surface surface;
    int bitsPerPixel;
};

class RegionObject : public GdiObject {
public:
    explicit RegionObject(const Region& r) : GdiObject(OBJ_REGION), region(r) {}
    Region region;
};

HGDIOBJ RegisterGdiObject(GdiObject* object);
// The object behind a live handle, or nullptr.
GdiObject* GdiObjectFromHandle(HGDIOBJ handle);
template <class T>
T* GdiObjectFromHandleAs(HGDIOBJ handle) {
    return dynamic_cast<T*>(GdiObjectFromHandle(handle));
}

// Selection bookkeeping used by the DCs.
void RetainSelected(HGDIOBJ handle);
void ReleaseSelected(HGDIOBJ handle);
