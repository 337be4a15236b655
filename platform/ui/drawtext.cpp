// DrawText: text laid out in a rectangle by the DT_ flags.
//
// Without DT_SINGLELINE, CR, LF and CR LF break lines and DT_VCENTER and
// DT_BOTTOM have no effect: the text starts at the top. DT_WORDBREAK breaks
// at spaces and beside ideographs (Chinese has no spaces between words),
// never before closing punctuation, and never splits a Latin word; DT_END_ELLIPSIS shortens each line
// that is too wide on its own; '&' marks the next character for underlining
// unless DT_NOPREFIX ("&&" shows one '&').
#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/longest_fit.h"
#include "platform/base/utf.h"
#include "platform/ui/dc.h"
#include "platform/ui/font.h"
#include "platform/ui/gdi.h"
#include "platform/ui/textrun.h"

namespace {

constexpr char16_t kEllipsis[] = u"...";

struct Line {
    std::u16string text;
    int underline = -1;  // index into text
};

// Text as shown: prefix characters removed, the underlined index noted.
Line StripPrefixes(std::u16string_view text) {
    Line shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            shown.text += text[i];
            continue;
        }
        if (i + 1 >= text.size())
            break;
        if (text[i + 1] != u'&')
            shown.underline = static_cast<int>(shown.text.size());
        shown.text += text[++i];
    }
    return shown;
}

Line Slice(const Line& whole, size_t start, size_t count) {
    Line part{whole.text.substr(start, count), -1};
    if (whole.underline >= static_cast<int>(start) && whole.underline < static_cast<int>(start + count))
        part.underline = whole.underline - static_cast<int>(start);
    return part;
}

class Layout {
public:
    Layout(FontFace& face, UINT format) : m_face(face), m_format(format) {
        m_tabWidth = std::max(1, 8 * face.AverageWidth());
    }

    int Width(std::u16string_view text) const {
        int width = 0;
        ForEachSegment(text, [&](std::u16string_view segment, int x) { width = x + TextWidth(m_face, segment); });
        return width;
    }

    // Calls f(segment, x offset) for the tab-separated pieces of a line.
    template <class F>
    void ForEachSegment(std::u16string_view text, F&& f) const {
        if (!(m_format & DT_EXPANDTABS)) {
            f(text, 0);
            return;
        }
        int x = 0;
        size_t start = 0;
        while (true) {
            size_t tab = text.find(u'\t', start);
            std::u16string_view segment = text.substr(start, tab == std::u16string_view::npos ? tab : tab - start);
            f(segment, x);
            if (tab == std::u16string_view::npos)
                return;
            x += TextWidth(m_face, segment);
            x = (x / m_tabWidth + 1) * m_tabWidth;
            start = tab + 1;
        }
    }

    std::vector<Line> Lines(const Line& shown, int width) const {
        std::vector<Line> lines;
        if (m_format & DT_SINGLELINE) {
            lines.push_back(shown);
            return lines;
        }
        const std::u16string& t = shown.text;
        size_t start = 0;
        while (true) {
            size_t end = t.find_first_of(u"\r\n", start);
            Line paragraph = Slice(shown, start, end == std::u16string::npos ? std::u16string::npos : end - start);
            if (m_format & DT_WORDBREAK)
                Wrap(paragraph, width, lines);
            else
                lines.push_back(paragraph);
            if (end == std::u16string::npos)
                break;
            start = end + ((t[end] == u'\r' && end + 1 < t.size() && t[end + 1] == u'\n') ? 2 : 1);
        }
        return lines;
    }

    // Shortens a line that is too wide so that it ends in "...".
    // True when the line had to be shortened.
    bool Ellipsize(Line& line, int width) const {
        if (Width(line.text) <= width)
            return false;
        const int room = width - TextWidth(m_face, kEllipsis);
        const size_t keep = WholeCharacterUnits(line.text, LongestFit(line.text.size(), [&](size_t units) {
            return Width(std::u16string_view(line.text).substr(0, units)) <= room;
        }));
        line.text = line.text.substr(0, keep) + kEllipsis;
        if (line.underline >= static_cast<int>(keep))
            line.underline = -1;
        return true;
    }

private:
    static bool IsIdeograph(char16_t c) {
        return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
    }
    // Punctuation that must not begin a line.
    static bool IsClosing(char16_t c) {
        return std::u16string_view(u"、。，．：；！？）」』】〉》”’,.:;!?)]}").find(c) != std::u16string_view::npos;
    }
    // Where the word starting at `from` ends: at a space, or where a line may
    // break beside an ideograph.
    static size_t WordEnd(const std::u16string& t, size_t from) {
        if (from >= t.size() || t[from] == u' ')
            return from;
        for (size_t i = from + 1; i < t.size(); ++i) {
            if (t[i] == u' ')
                return i;
            if ((IsIdeograph(t[i - 1]) || IsIdeograph(t[i])) && !IsClosing(t[i]))
                return i;
        }
        return t.size();
    }

    // Greedy breaking; a word wider than the line stays whole.
    void Wrap(const Line& paragraph, int width, std::vector<Line>& lines) const {
        const std::u16string& t = paragraph.text;
        size_t start = 0;
        do {
            size_t end = start;     // end of the words that fit so far
            size_t next = start;    // where the following word begins
            while (next < t.size()) {
                size_t wordEnd = WordEnd(t, next);
                bool fits = Width(std::u16string_view(t).substr(start, wordEnd - start)) <= width;
                if (!fits && end > start)
                    break;
                end = wordEnd;
                next = t.find_first_not_of(u' ', wordEnd);
                if (next == std::u16string::npos)
                    next = t.size();
                if (!fits)
                    break;
            }
            lines.push_back(Slice(paragraph, start, end - start));
            start = next;
        } while (start < t.size());
    }

    FontFace& m_face;
    UINT m_format;
    int m_tabWidth;
};

}  // namespace

int DrawTextW(HDC handle, LPCWSTR text, int length, LPRECT rect, UINT format) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr || rect == nullptr || text == nullptr)
        return 0;
    std::u16string_view source = length < 0 ? std::u16string_view(text) : std::u16string_view(text, length);
    std::lock_guard<std::recursive_mutex> lock(FontLock());
    FontFace& face = SelectedFace(*dc);
    Layout layout(face, format);
    Line shown = (format & DT_NOPREFIX) ? Line{std::u16string(source), -1} : StripPrefixes(source);
    int width = rect->right - rect->left;
    std::vector<Line> lines = layout.Lines(shown, width);
    int lineHeight = face.Height();
    int total = lineHeight * static_cast<int>(lines.size());

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const Line& line : lines)
            widest = std::max(widest, layout.Width(line.text));
        rect->right = rect->left + widest;
        rect->bottom = rect->top + total;
        return total;
    }

    int y = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = rect->bottom - lineHeight;
    }
    int result = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? y - rect->top + total : total;

    TextRunOptions options;
    if (!(format & DT_NOCLIP))
        options.clip = *rect;
    options.fillCell = dc->state.bkMode == OPAQUE;
    for (Line& line : lines) {
        options.shortened = (format & DT_END_ELLIPSIS) && layout.Ellipsize(line, width);
        int lineWidth = layout.Width(line.text);
        int x = rect->left;
        if (format & DT_CENTER)
            x = rect->left + (width - lineWidth) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - lineWidth;
        size_t offset = 0;
        layout.ForEachSegment(line.text, [&](std::u16string_view segment, int segmentX) {
            options.underline = line.underline - static_cast<int>(offset);
            DrawTextRun(*dc, face, x + segmentX, y, segment, options);
            offset += segment.size() + 1;
        });
        y += lineHeight;
    }
    return result;
}

int DrawText(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format) {
    return DrawTextW(dc, text, length, rect, format);
}
