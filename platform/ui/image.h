// The image library the skins and photos go through: CxImage loads BMP, PNG
// and JPEG files by device path, draws them into a DC at their own or a
// given size with per-pixel alpha, and saves JPEG (and PNG).
//
// A failed load leaves an empty image: IsValid false, size 0, drawing does
// nothing. Type numbers are those the application passes.
#pragma once

#include "platform/base/types.h"
#include "platform/ui/surface.h"

enum ENUM_CXIMAGE_FORMATS {
    CXIMAGE_FORMAT_UNKNOWN = 0,
    CXIMAGE_FORMAT_BMP = 1,
    CXIMAGE_FORMAT_GIF = 2,
    CXIMAGE_FORMAT_JPG = 3,
    CXIMAGE_FORMAT_PNG = 4,
    CXIMAGE_FORMAT_ICO = 5,
    CXIMAGE_FORMAT_TIF = 6,
    CXIMAGE_FORMAT_TGA = 7,
    CXIMAGE_FORMAT_PCX = 8,
    CXIMAGE_FORMAT_WBMP = 9,
};

// True when the file holds an image whose header declares more pixels than
// the terminal takes (Load refuses it), or is too large to be read at all;
// false for any other file. Reads no pixel.
bool IsImageFileTooLarge(LPCTSTR fileName);

class CxImage {
public:
    CxImage() = default;
    // Loads at once; type 0 recognises the format from the file's content.
    CxImage(LPCTSTR fileName, DWORD imageType);
    CxImage(const CxImage&) = delete;
    CxImage& operator=(const CxImage&) = delete;
    virtual ~CxImage() = default;

    bool Load(LPCTSTR fileName, DWORD imageType = CXIMAGE_FORMAT_UNKNOWN);
    // JPEG and PNG only; the write is atomic.
    bool Save(LPCTSTR fileName, DWORD imageType);
    void Destroy();

    // 8, 24 or 32 bits per pixel, rows `bytesPerLine` apart, bottom-up when
    // `flip` (device-independent bitmap order). 8-bit pixels are grey.
    bool CreateFromArray(const BYTE* pixels, DWORD width, DWORD height, DWORD bitsPerPixel, DWORD bytesPerLine,
                         bool flip);

    bool IsValid() const { return !m_pixels.IsEmpty(); }
    DWORD GetWidth() const { return static_cast<DWORD>(m_pixels.Width()); }
    DWORD GetHeight() const { return static_cast<DWORD>(m_pixels.Height()); }
    DWORD GetType() const { return m_type; }
    void SetJpegQuality(BYTE quality) { m_jpegQuality = quality; }
    BYTE GetJpegQuality() const { return m_jpegQuality; }

    // Draws at (x, y), stretched to cx x cy when they are given (-1 = own
    // size), blending by each pixel's alpha, inside the DC's clip and, when
    // given, `clip`. `smooth` samples bilinearly. Returns 1 when drawn.
    long Draw(HDC dc, long x = 0, long y = 0, long cx = -1, long cy = -1, RECT* clip = nullptr,
              bool smooth = false) const;
    long Draw(HDC dc, const RECT& rect, RECT* clip = nullptr, bool smooth = false) const;

    // The format a file extension names (".png", "jpg" ...), 0 when unknown.
    static DWORD GetTypeIdFromName(LPCTSTR extension);

    // Pixels as 0xAARRGGBB.
    const Surface& Pixels() const { return m_pixels; }

private:
    Surface m_pixels;
    DWORD m_type = CXIMAGE_FORMAT_UNKNOWN;
    BYTE m_jpegQuality = 90;
};
