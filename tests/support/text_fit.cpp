#include "tests/support/text_fit.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "platform/base/utf.h"
#include "platform/ui/commctrl.h"
#include "platform/ui/dc.h"
#include "platform/ui/textrun.h"
#include "platform/ui/window.h"

namespace {

// A text the page's given geometry has no room for: a control whose given
// size is kept although this text of it does not fit.
struct GivenGeometry {
    UINT_PTR control;
    std::u16string text;
    const char* reason;
};

const std::vector<GivenGeometry>& KnownMisfits() {
    static const std::vector<GivenGeometry> known{};
    return known;
}

bool IsKnown(UINT_PTR control, std::u16string_view text) {
    const auto& known = KnownMisfits();
    return std::any_of(known.begin(), known.end(),
                       [&](const GivenGeometry& g) { return g.control == control && g.text == text; });
}

std::vector<TextAreaFinder>& TextAreaFinders() {
    static std::vector<TextAreaFinder> finders;
    return finders;
}

struct PaintedWindow {
    HWND handle;
    UINT_PTR id;
    std::u16string className;
    Window* top;
    POINT clientOrigin;  // screen
    Region box;          // screen: the client area inside every ancestor
    RECT own;            // screen: the window's own rectangle
    std::optional<GivenTextArea> textArea;  // screen
};

// Asked outside the window lock: a finder may talk to the window.
std::optional<GivenTextArea> TextAreaOf(const PaintedWindow& w) {
    for (const TextAreaFinder& finder : TextAreaFinders())
        if (std::optional<GivenTextArea> given = finder(w.handle)) {
            OffsetRect(&given->area, w.clientOrigin.x, w.clientOrigin.y);
            return given;
        }
    return std::nullopt;
}

bool PartOfGivenText(std::u16string_view run, const std::optional<GivenTextArea>& given) {
    return given && !run.empty() && given->text.find(run) != std::u16string::npos;
}

struct DrawnText {
    size_t painter = 0;  // index into the painted windows
    std::u16string text;
    std::vector<RECT> letters;  // screen
    std::vector<Pixel> shown;   // the letters' pixels once the text's window was painted
    bool cut = false;
    bool outOfTextArea = false;
    bool shortened = false;
    bool covered = false;
    bool faint = false;
    bool atScreenEdge = false;
};

Region BoxOf(const Window* w) {
    Region box(ScreenRect(w));
    for (const Window* a = w->parent; a != nullptr && a != Desktop(); a = a->parent) box.Intersect(ScreenRect(a));
    return box;
}

// The relative luminance of a pixel's colour, 0 (black) to 1 (white).
double Luminance(Pixel pixel) {
    const auto channel = [](unsigned value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((pixel >> 16) & 0xFF) + 0.7152 * channel((pixel >> 8) & 0xFF) +
           0.0722 * channel(pixel & 0xFF);
}

// Whether a letter's colour stands out from what lies under it: the ratio of
// the lighter to the darker luminance, 1 for the same colour, 21 for black
// on white. Below 2 the letter's strokes all but vanish into it.
bool StandsOut(Pixel text, Pixel under) {
    const double a = Luminance(text);
    const double b = Luminance(under);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05) >= 2.0;
}

// A letter is hard to read once a quarter of its strokes lie on colours it
// does not stand out from (a fill of its own colour, an outline, the page
// beyond a widget's rounded end).
bool Faint(Pixel text, const std::vector<Pixel>& under) {
    const auto lost = std::count_if(under.begin(), under.end(), [&](Pixel p) { return !StandsOut(text, p); });
    return !under.empty() && lost * 4 > static_cast<long>(under.size());
}

// Visible windows of the tree in the order a full repaint paints them.
void CollectInPaintOrder(Window* w, std::vector<PaintedWindow>& out) {
    if ((w->style & WS_VISIBLE) == 0) return;
    out.push_back({w->handle, w->id, w->cls ? w->cls->name : std::u16string(), TopLevelOf(w), ScreenOrigin(w),
                   BoxOf(w), ScreenRect(w), std::nullopt});
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) CollectInPaintOrder(*it, out);
}

std::vector<PaintedWindow> WindowsToPaint(HWND top) {
    std::vector<PaintedWindow> windows;
    {
        WindowGuard guard(WindowLock());
        if (top != nullptr) {
            if (Window* w = WindowFromHandle(top); w != nullptr && IsShown(w)) CollectInPaintOrder(w, windows);
        } else {
            for (Window* each : TopLevelBottomUp()) CollectInPaintOrder(each, windows);
        }
    }
    for (PaintedWindow& w : windows) w.textArea = TextAreaOf(w);
    return windows;
}

bool Inside(const RECT& letter, const Region& area) {
    Region outside(letter);
    outside.Subtract(area);
    return outside.IsEmpty();
}

// Where the run may land, in screen coordinates: its clip, the DC's own
// clip and the painting window's box. A run into an off-screen bitmap is
// placed as the window's client area, where the widgets copy their bitmaps.
Region DrawableArea(const DrawnTextRun& run, const PaintedWindow& painter, POINT& toScreen) {
    DeviceContext& dc = *run.dc;
    const bool onScreen = dc.surface == GetScreenSurface();
    toScreen = onScreen ? POINT{0, 0} : painter.clientOrigin;
    Region area(run.limit);
    if (dc.state.appClip) {
        Region clip = *dc.state.appClip;
        clip.Offset(dc.origin.x, dc.origin.y);
        // The DC's own clip starts from what shows: a window above (a box)
        // hides without cutting, so what it hides counts as room.
        if (onScreen) {
            Region hidden = painter.box;
            Region shown = dc.systemClip;
            shown.Offset(dc.origin.x, dc.origin.y);
            hidden.Subtract(shown);
            clip.Union(hidden);
        }
        area.Intersect(clip);
    }
    area.Offset(toScreen.x, toScreen.y);
    area.Intersect(painter.box);
    return area;
}

// Whether a letter's ink comes up to the screen's edge: the faint rim of
// its anti-aliasing, a pixel around the ink, is lost there, and at a window
// the letter reads as cut off.
bool AtScreenEdge(const RECT& letter) {
    const Surface* screen = GetScreenSurface();
    return letter.left < 1 || letter.top < 1 || letter.right > screen->Width() - 1 ||
           letter.bottom > screen->Height() - 1;
}

// Whether a line laid out inside its window's own box runs past what the
// windows around it show of that box (a label reaching below its page): its
// letters may stand whole, but crowd against what lies beyond.
bool BeyondWhatShows(const RECT& line, const PaintedWindow& painter) {
    RECT inOwn{};
    IntersectRect(&inOwn, &line, &painter.own);
    return EqualRect(&inOwn, &line) && !Inside(line, painter.box);
}

RECT Bounds(const std::vector<RECT>& letters) {
    RECT all = letters.front();
    for (const RECT& r : letters)
        all = RECT{std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right),
                   std::max(all.bottom, r.bottom)};
    return all;
}

std::string NameOf(const PaintedWindow& w) {
    return Utf16ToUtf8(w.className) + " " + std::to_string(w.id);
}

// The first window painted after the text's own whose box holds one of its
// letters (its own ancestors lie below it and hide nothing).
const PaintedWindow* CoveringWindow(const DrawnText& text, const std::vector<PaintedWindow>& windows) {
    const PaintedWindow& painter = windows[text.painter];
    for (size_t i = text.painter + 1; i < windows.size(); ++i) {
        const PaintedWindow& above = windows[i];
        if (above.top != painter.top || above.handle == painter.handle) continue;
        {
            WindowGuard guard(WindowLock());
            Window* a = WindowFromHandle(above.handle);
            Window* p = WindowFromHandle(painter.handle);
            if (a == nullptr || p == nullptr || IsAncestor(a, p)) continue;
        }
        for (const RECT& letter : text.letters)
            if (above.box.Intersects(letter)) return &above;
    }
    return nullptr;
}

// The screen's pixels inside the letters, in order.
std::vector<Pixel> PixelsOf(const std::vector<RECT>& letters) {
    std::vector<Pixel> pixels;
    const Surface* screen = GetScreenSurface();
    for (const RECT& r : letters)
        for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, screen->Height()); ++y)
            for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, screen->Width()); ++x)
                pixels.push_back(screen->At(x, y));
    return pixels;
}

class ScreenKeeper {
public:
    ScreenKeeper() : m_screen(GetScreenSurface()) {
        if (m_screen == nullptr) return;
        m_pixels.reserve(static_cast<size_t>(m_screen->Width()) * m_screen->Height());
        for (int y = 0; y < m_screen->Height(); ++y)
            m_pixels.insert(m_pixels.end(), m_screen->Row(y), m_screen->Row(y) + m_screen->Width());
    }
    ~ScreenKeeper() {
        if (m_screen == nullptr) return;
        for (int y = 0; y < m_screen->Height(); ++y)
            std::copy_n(m_pixels.begin() + static_cast<ptrdiff_t>(y) * m_screen->Width(), m_screen->Width(),
                        m_screen->Row(y));
    }
    ScreenKeeper(const ScreenKeeper&) = delete;
    ScreenKeeper& operator=(const ScreenKeeper&) = delete;

private:
    Surface* m_screen;
    std::vector<Pixel> m_pixels;
};

// Rows of a report list from its top row on that the list cuts: a row
// shows whole or the user never reads it.
void FindCutRows(const PaintedWindow& list, std::vector<TextMisfit>& misfits) {
    if (list.className != WC_LISTVIEW) return;
    RECT client{};
    GetClientRect(list.handle, &client);
    if (HWND header = reinterpret_cast<HWND>(SendMessageW(list.handle, LVM_GETHEADER, 0, 0));
        header != nullptr && IsWindowVisible(header)) {
        RECT headerRect{};
        GetWindowRect(header, &headerRect);
        client.top = headerRect.bottom - headerRect.top;
    }
    const int count = static_cast<int>(SendMessageW(list.handle, LVM_GETITEMCOUNT, 0, 0));
    for (int row = static_cast<int>(SendMessageW(list.handle, LVM_GETTOPINDEX, 0, 0)); row < count; ++row) {
        RECT rect{LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(list.handle, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        if (rect.top >= client.top && rect.bottom <= client.bottom) continue;
        OffsetRect(&rect, list.clientOrigin.x, list.clientOrigin.y);
        WCHAR text[64] = {};
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(list.handle, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        misfits.push_back({list.handle, std::u16string(text), rect,
                           NameOf(list) + ": row " + std::to_string(row) + " not shown whole"});
    }
}

std::vector<TextMisfit> Examine(HWND top, bool legibility) {
    const std::vector<PaintedWindow> windows = WindowsToPaint(top);
    std::vector<DrawnText> drawn;
    {
        ScreenKeeper keeper;
        size_t painting = 0;
        SetTextRunObserver([&](const DrawnTextRun& run) {
            const PaintedWindow& painter = windows[painting];
            POINT toScreen{};
            const Region area = DrawableArea(run, painter, toScreen);
            DrawnText text;
            text.painter = painting;
            text.text = run.text;
            text.shortened = run.shortened;
            RECT line = run.cell;
            OffsetRect(&line, toScreen.x, toScreen.y);
            text.cut = BeyondWhatShows(line, painter);
            for (const std::vector<Pixel>& under : run.underInk) text.faint = text.faint || Faint(run.color, under);
            const bool given = PartOfGivenText(run.text, painter.textArea);
            for (RECT letter : run.letters) {
                OffsetRect(&letter, toScreen.x, toScreen.y);
                text.cut = text.cut || !Inside(letter, area);
                text.outOfTextArea = text.outOfTextArea || (given && !Inside(letter, Region(painter.textArea->area)));
                text.atScreenEdge = text.atScreenEdge || AtScreenEdge(letter);
                text.letters.push_back(letter);
            }
            if (!text.letters.empty()) drawn.push_back(std::move(text));
        });
        for (; painting < windows.size(); ++painting) {
            const size_t before = drawn.size();
            RedrawWindow(windows[painting].handle, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_NOCHILDREN);
            for (size_t i = before; i < drawn.size(); ++i) drawn[i].shown = PixelsOf(drawn[i].letters);
        }
        SetTextRunObserver(nullptr);
        // A window above that changed a letter's pixels hides it; one that
        // only lies over it (a transparent label) does not.
        for (DrawnText& text : drawn) text.covered = PixelsOf(text.letters) != text.shown;
    }
    std::vector<TextMisfit> misfits;
    for (const DrawnText& text : drawn) {
        const PaintedWindow& painter = windows[text.painter];
        if (IsKnown(painter.id, text.text)) continue;
        std::string problem;
        if (text.cut)
            problem = "cut by its box";
        else if (text.outOfTextArea)
            problem = "out of the area its window gives the text";
        else if (text.atScreenEdge)
            problem = "at the screen's edge";
        else if (text.shortened)
            problem = "shortened to fit its box";
        else if (legibility && text.faint)
            problem = "hard to read on what lies under it";
        else if (text.covered)
            if (const PaintedWindow* above = CoveringWindow(text, windows)) problem = "under " + NameOf(*above);
        if (!problem.empty())
            misfits.push_back({painter.handle, text.text, Bounds(text.letters), NameOf(painter) + ": " + problem});
    }
    for (const PaintedWindow& w : windows) FindCutRows(w, misfits);
    return misfits;
}

}  // namespace

void FindTextAreasWith(TextAreaFinder finder) { TextAreaFinders().push_back(std::move(finder)); }

std::vector<TextMisfit> FindTextMisfits(HWND top) { return Examine(top, false); }

std::vector<TextMisfit> FindHardToReadTexts(HWND top) { return Examine(top, true); }

std::string Describe(const std::vector<TextMisfit>& misfits) {
    std::ostringstream out;
    for (const TextMisfit& m : misfits)
        out << '"' << Utf16ToUtf8(m.text) << "\" at (" << m.letters.left << ',' << m.letters.top << ")-("
            << m.letters.right << ',' << m.letters.bottom << ") " << m.problem << '\n';
    return out.str();
}
