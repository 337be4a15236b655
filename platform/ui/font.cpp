#include "platform/ui/font.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <tuple>
#include <unordered_map>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include "platform/base/host_read.h"
#include "platform/base/threads.h"
#include "platform/base/utf.h"

void LoadHostFonts(void* config) { *static_cast<FcConfig**>(config) = FcInitLoadConfigAndFonts(); }

namespace {

constexpr char kDefaultFamily[] = "WenQuanYi Micro Hei";
constexpr int kDefaultHeight = -12;
constexpr int kMaxPixelSize = 512;
// The largest font families with every CJK glyph stay well below this.
constexpr size_t kMaxFontFileBytes = 256u << 20;

struct FontFile {
    std::string path;
    int index = 0;
    auto operator<=>(const FontFile&) const = default;
};

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        FT_Init_FreeType(&made);
        return made;
    }();
    return library;
}

// Two fontconfig configurations: one that knows only the font files the
// program added, which a terminal's own fonts are, and the host's, whose
// rules and font caches take a dozen milliseconds to load. The host's is
// loaded on a thread of its own from the moment fonts are first used, so
// that the rest of start-up runs meanwhile; a family that no added file has
// waits for it. Both are released at exit, so leak checkers see only real
// leaks.
// Should the system give no thread for it, the first family that needs
// the host's configuration loads it in line.
class HostFonts {
public:
    void StartLoading() {
        std::call_once(m_started, [this] {
            if (StartHostThread(m_loader, LoadHostFonts, &m_config)) return;
            std::fprintf(stderr, "quillon: the font loader thread could not be started: the host's fonts load when first needed\n");
        });
    }
    FcConfig* Config() {
        StartLoading();
        std::call_once(m_loaded, [this] {
            if (m_loader.joinable())
                m_loader.join();
            else
                LoadHostFonts(&m_config);
        });
        return m_config;
    }

private:
    std::once_flag m_started, m_loaded;
    std::thread m_loader;
    FcConfig* m_config = nullptr;
};

HostFonts& Host() {
    static HostFonts host;
    return host;
}

FcConfig* AddedConfig() {
    static FcConfig* config = [] {
        FcConfig* made = FcConfigCreate();
        Host().StartLoading();
        std::atexit([] {
            FcConfigDestroy(AddedConfig());
            if (FcConfig* host = Host().Config())
                FcConfigDestroy(host);
            FcFini();
        });
        return made;
    }();
    return config;
}

// The font libraries open a font by its name and would wait for ever on a
// pipe in its place: only a plain file (links followed) is handed to them.
bool IsFontFile(const std::string& hostPath) {
    return Library() != nullptr && CheckPlainHostFile(hostPath, kMaxFontFileBytes) == HostRead::Read;
}

// Faces stay open for the life of the program: sizes and caches refer to them.
FT_Face OpenFace(const FontFile& file) {
    static std::map<std::pair<std::string, int>, FT_Face> faces;
    auto key = std::make_pair(file.path, file.index);
    auto found = faces.find(key);
    if (found != faces.end())
        return found->second;
    FT_Face face = nullptr;
    if (!IsFontFile(file.path) || FT_New_Face(Library(), file.path.c_str(), file.index, &face) != 0 ||
        !FT_IS_SCALABLE(face)) {
        if (face != nullptr)
            FT_Done_Face(face);
        face = nullptr;
    }
    faces.emplace(key, face);
    return face;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The file of `family` in `config`, or nothing when none of its families
// has that name (fontconfig would otherwise offer its idea of a substitute).
std::optional<FontFile> MatchFamilyIn(FcConfig* config, const std::string& family, bool bold) {
    if (config == nullptr)
        return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddInteger(pattern, FC_WIDTH, FC_WIDTH_NORMAL);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr)
        return std::nullopt;
    std::optional<FontFile> file;
    std::string wanted = Lower(family);
    FcChar8* name = nullptr;
    bool named = false;
    for (int i = 0; !named && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        named = Lower(reinterpret_cast<const char*>(name)) == wanted;
    FcChar8* path = nullptr;
    if (named && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        int index = 0;
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        file = FontFile{reinterpret_cast<const char*>(path), index};
    }
    FcPatternDestroy(match);
    return file;
}

// The added file of `family`, else the host's installed one.
std::optional<FontFile> MatchFamily(const std::string& family, bool bold) {
    if (family.empty())
        return std::nullopt;
    if (std::optional<FontFile> added = MatchFamilyIn(AddedConfig(), family, bold))
        return added;
    return MatchFamilyIn(Host().Config(), family, bold);
}

std::map<std::pair<std::string, bool>, std::optional<FontFile>>& MatchCache() {
    static std::map<std::pair<std::string, bool>, std::optional<FontFile>> cache;
    return cache;
}

std::optional<FontFile> CachedMatch(const std::string& family, bool bold) {
    auto key = std::make_pair(Lower(family), bold);
    auto found = MatchCache().find(key);
    if (found != MatchCache().end())
        return found->second;
    std::optional<FontFile> file = MatchFamily(family, bold);
    MatchCache().emplace(key, file);
    return file;
}

std::vector<std::string>& AddedFiles() {
    static std::vector<std::string> files;
    return files;
}

// Vertical design metrics as the window system sizes fonts by them.
void DesignMetrics(FT_Face face, int& ascent, int& descent) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    } else {
        ascent = face->ascender;
        descent = -face->descender;
    }
    if (ascent + descent <= 0) {
        ascent = face->units_per_EM;
        descent = 0;
    }
}

int Scale(long value, int pixels, int units) {
    return units > 0 ? static_cast<int>((value * pixels + units / 2) / units) : 0;
}

int ScaleUp(long value, int pixels, int units) {
    return units > 0 ? static_cast<int>((value * pixels + units - 1) / units) : 0;
}

class FreeTypeFace : public FontFace {
public:
    // `bold` asks for a bold design: faces without one are emboldened.
    FreeTypeFace(FT_Face primary, FT_Face fallback, LONG height, bool bold) {
        if (height == 0)
            height = kDefaultHeight;
        m_primary = Attach(primary, height, bold);
        if (fallback != primary)
            m_fallback = Attach(fallback, height, bold);
        if (primary == nullptr) {
            m_ascent = std::abs(height);
            return;
        }
        int units = primary->units_per_EM;
        int ascent = 0, descent = 0;
        DesignMetrics(primary, ascent, descent);
        if (height < 0) {
            m_ascent = ScaleUp(ascent, m_pixelSize, units);
            m_descent = ScaleUp(descent, m_pixelSize, units);
        } else {
            m_ascent = Scale(ascent, height, ascent + descent);
            m_descent = height - m_ascent;
        }
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(primary, FT_SFNT_OS2));
        m_averageWidth = os2 != nullptr && os2->xAvgCharWidth > 0 ? Scale(os2->xAvgCharWidth, m_pixelSize, units)
                                                                  : Advance(U'x');
        m_maxWidth = Scale(primary->max_advance_width, m_pixelSize, units);
    }

    ~FreeTypeFace() override {
        if (m_primary.size != nullptr)
            FT_Done_Size(m_primary.size);
        if (m_fallback.size != nullptr)
            FT_Done_Size(m_fallback.size);
    }

    const Glyph& GlyphOf(char32_t ch) override {
        auto found = m_glyphs.find(ch);
        if (found != m_glyphs.end())
            return found->second;
        return m_glyphs.emplace(ch, Render(ch)).first->second;
    }

private:
    struct Source {
        FT_Face face = nullptr;
        FT_Size size = nullptr;
        bool embolden = false;
    };

    Source Attach(FT_Face face, LONG height, bool bold) {
        Source source;
        if (face == nullptr || FT_New_Size(face, &source.size) != 0)
            return Source{};
        source.face = face;
        source.embolden = bold && !(face->style_flags & FT_STYLE_FLAG_BOLD);
        FT_Activate_Size(source.size);
        if (m_pixelSize == 0) {
            int ascent = 0, descent = 0;
            DesignMetrics(face, ascent, descent);
            long pixels = height < 0 ? -static_cast<long>(height)
                                     : (static_cast<long>(height) * face->units_per_EM + (ascent + descent) / 2) /
                                           (ascent + descent);
            m_pixelSize = static_cast<int>(std::clamp<long>(pixels, 1, kMaxPixelSize));
        }
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(m_pixelSize));
        return source;
    }

    Glyph Render(char32_t ch) {
        Glyph glyph;
        if (ch < 0x20 || ch == 0x7F)
            return glyph;
        Source source = m_primary;
        FT_UInt index = source.face != nullptr ? FT_Get_Char_Index(source.face, ch) : 0;
        if (index == 0 && m_fallback.face != nullptr) {
            FT_UInt other = FT_Get_Char_Index(m_fallback.face, ch);
            if (other != 0) {
                source = m_fallback;
                index = other;
            }
        }
        if (source.face == nullptr)
            return glyph;
        FT_Activate_Size(source.size);
        if (FT_Load_Glyph(source.face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0)
            return glyph;
        FT_GlyphSlot slot = source.face->glyph;
        if (source.embolden)
            FT_GlyphSlot_Embolden(slot);
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
            return glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.width = static_cast<int>(bitmap.width);
        glyph.height = static_cast<int>(bitmap.rows);
        glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.height);
        for (int y = 0; y < glyph.height; ++y) {
            const unsigned char* row = bitmap.pitch >= 0
                                           ? bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch
                                           : bitmap.buffer + static_cast<ptrdiff_t>(glyph.height - 1 - y) * -bitmap.pitch;
            std::copy(row, row + glyph.width, glyph.coverage.begin() + static_cast<ptrdiff_t>(y) * glyph.width);
        }
        return glyph;
    }

    Source m_primary;
    Source m_fallback;
    std::unordered_map<char32_t, Glyph> m_glyphs;
};

std::string FaceName(const LOGFONTW& font) {
    const WCHAR* end = std::find(font.lfFaceName, font.lfFaceName + LF_FACESIZE, u'\0');
    return Utf16ToUtf8(std::u16string_view(font.lfFaceName, static_cast<size_t>(end - font.lfFaceName)));
}

}  // namespace

std::recursive_mutex& FontLock() {
    static std::recursive_mutex lock;
    return lock;
}

std::shared_ptr<FontFace> ResolveFont(const LOGFONTW& font) {
    bool bold = font.lfWeight >= FW_SEMIBOLD;
    std::optional<FontFile> fallbackFile = CachedMatch(kDefaultFamily, false);
    std::optional<FontFile> file = CachedMatch(FaceName(font), bold);
    if (!file)
        file = CachedMatch(kDefaultFamily, bold);
    if (!file)
        file = fallbackFile;
    FontFile chosen = file.value_or(FontFile{});

    using Key = std::tuple<FontFile, LONG, bool>;
    static std::map<Key, std::shared_ptr<FontFace>> faces;
    Key key{chosen, font.lfHeight, bold};
    auto found = faces.find(key);
    if (found != faces.end())
        return found->second;
    FT_Face primary = file ? OpenFace(chosen) : nullptr;
    FT_Face fallback = fallbackFile ? OpenFace(*fallbackFile) : nullptr;
    if (primary == nullptr)
        primary = fallback;
    auto face = std::make_shared<FreeTypeFace>(primary, fallback, font.lfHeight, bold);
    faces.emplace(key, face);
    return face;
}

int AddFontFile(const std::string& hostPath) {
    FT_Face probe = nullptr;
    if (!IsFontFile(hostPath) || FT_New_Face(Library(), hostPath.c_str(), -1, &probe) != 0)
        return 0;
    int count = static_cast<int>(probe->num_faces);
    FT_Done_Face(probe);
    if (AddedConfig() == nullptr ||
        !FcConfigAppFontAddFile(AddedConfig(), reinterpret_cast<const FcChar8*>(hostPath.c_str())))
        return 0;
    AddedFiles().push_back(hostPath);
    MatchCache().clear();
    return count;
}

bool RemoveFontFile(const std::string& hostPath) {
    auto& files = AddedFiles();
    auto found = std::find(files.begin(), files.end(), hostPath);
    if (found == files.end())
        return false;
    files.erase(found);
    FcConfigAppFontClear(AddedConfig());
    for (const std::string& path : files)
        FcConfigAppFontAddFile(AddedConfig(), reinterpret_cast<const FcChar8*>(path.c_str()));
    MatchCache().clear();
    return true;
}
