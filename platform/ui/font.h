// Fonts: a LOGFONT resolved to a font file through fontconfig and rendered
// by FreeType at one pixel size, with a glyph cache and a CJK fallback face
// for characters the chosen face lacks.
//
// Face names nobody installed ("tohamo", "Microsoft JhengHei") resolve to the
// default face, WenQuanYi Micro Hei, which covers Latin and Chinese alike.
// Font state is shared by all threads: take FontLock() around any use.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ui/gdi_types.h"

// The host's fontconfig configuration loaded into the FcConfig* that
// `config` points to: the procedure of the thread that loads it while the
// program starts.
void LoadHostFonts(void* config);

struct Glyph {
    int advance = 0;  // pixels to the next pen position
    int left = 0;     // bitmap offset from the pen position
    int top = 0;      // bitmap rows above the baseline
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage;  // width * height, 0-255
};

class FontFace {
public:
    virtual ~FontFace() = default;

    int Ascent() const { return m_ascent; }
    int Descent() const { return m_descent; }
    int Height() const { return m_ascent + m_descent; }
    int PixelSize() const { return m_pixelSize; }
    int AverageWidth() const { return m_averageWidth; }
    int MaxWidth() const { return m_maxWidth; }

    // Control characters have no ink and no width.
    virtual const Glyph& GlyphOf(char32_t ch) = 0;
    int Advance(char32_t ch) { return GlyphOf(ch).advance; }

protected:
    int m_ascent = 0;
    int m_descent = 0;
    int m_pixelSize = 0;
    int m_averageWidth = 0;
    int m_maxWidth = 0;
};

std::recursive_mutex& FontLock();

// The face for a logical font; never null (the default face at worst).
std::shared_ptr<FontFace> ResolveFont(const LOGFONTW& font);

// Font files added at run time (host paths); their families become
// available by name. Return the number of faces added / whether it was there.
int AddFontFile(const std::string& hostPath);
bool RemoveFontFile(const std::string& hostPath);
