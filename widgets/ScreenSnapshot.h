// CScreenSnapshot: a rectangle of the screen saved before a pop-up covers
// it and painted back when the pop-up closes, so the page below reappears
// without repainting itself. One capture, one restore: a restore releases
// the saved pixels, and a restore with nothing saved paints nothing.
#pragma once

#include "platform/ui/afxwin.h"

// Paints now every window with a pending update, so that the screen read
// next shows what lies there, not the pixels of a window just closed. A box
// drawn with transparent corners reads the screen behind it this way.
void PaintPendingWindows();

class CScreenSnapshot {
public:
    CScreenSnapshot() = default;
    explicit CScreenSnapshot(CWnd* owner) : m_owner(owner) {}
    ~CScreenSnapshot();
    CScreenSnapshot(const CScreenSnapshot&) = delete;
    CScreenSnapshot& operator=(const CScreenSnapshot&) = delete;

    void SetOwner(CWnd* owner) { m_owner = owner; }
    bool HasPixels() const { return m_bitmap != nullptr; }

    // Saves the part of `screenRect` that lies on the screen (a negative
    // origin is taken from 0). An empty rectangle saves nothing.
    void Capture(const RECT* screenRect);
    // Paints the saved pixels at (0, 0) of the owner's client area, over its
    // client size, and releases them.
    void Restore();
    // The same into `dc`, over the rectangle's size.
    void RestoreToDC(CDC* dc, const CRect& rect);
    // The same as Restore over the rectangle's size.
    void RestoreRect(const CRect& rect);
    // Paints the saved pixels into `dc` over the rectangle's size and keeps
    // them: a pop-up with transparent parts paints what lies behind it
    // first, at every paint.
    void Show(CDC* dc, const CRect& rect) const;

private:
    void Blit(HDC target, int width, int height) const;
    void PaintInto(HDC target, int width, int height);
    void Release();

    CWnd* m_owner = nullptr;
    HBITMAP m_bitmap = nullptr;
};
