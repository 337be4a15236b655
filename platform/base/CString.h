// The class library's wide string: UTF-16 text with the familiar operations.
// Indexes and counts are in UTF-16 code units, as on the platform.
#pragma once

#include <concepts>
#include <string>
#include <string_view>

#include "platform/base/format.h"
#include "platform/base/types.h"

class CString {
public:
    CString() = default;
    CString(const char16_t* text);
    CString(const char16_t* text, int length);
    CString(char16_t ch, int repeat = 1);
    CString(const std::u16string& text) : m_text(text) {}
    CString(std::u16string&& text) : m_text(std::move(text)) {}
    CString(std::u16string_view text) : m_text(text) {}
    // Narrow text is taken in the system code page (CP_ACP).
    explicit CString(const char* text);

    // The platform hands the buffer out where an LPCTSTR is expected.
    operator const char16_t*() const { return m_text.c_str(); }
    const char16_t* GetString() const { return m_text.c_str(); }
    const std::u16string& str() const { return m_text; }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    // Out of range: GetAt gives NUL and SetAt does nothing (the class
    // library would throw; the terminal must not stop on a bad index).
    char16_t GetAt(int index) const;
    void SetAt(int index, char16_t ch);
    // Any integer type, so that s[i] never competes with the pointer conversion.
    template <std::integral I>
    char16_t operator[](I index) const {
        const long long i = static_cast<long long>(index);
        return i >= 0 && i < static_cast<long long>(m_text.size()) ? m_text[static_cast<size_t>(i)] : u'\0';
    }

    CString& operator=(const char16_t* text);
    CString& operator=(char16_t ch);
    CString& operator+=(const CString& text);
    CString& operator+=(const char16_t* text);
    CString& operator+=(char16_t ch);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char16_t* b);
    friend CString operator+(const char16_t* a, const CString& b);
    friend CString operator+(const CString& a, char16_t b);
    friend CString operator+(char16_t a, const CString& b);

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char16_t* b);
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }
    friend bool operator>(const CString& a, const CString& b) { return a.m_text > b.m_text; }

    // <0, 0, >0 as the C library's wcscmp / _wcsicmp.
    int Compare(const char16_t* text) const;
    int CompareNoCase(const char16_t* text) const;

    // Out-of-range counts and positions are clamped, as in the class library.
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const char16_t* set) const;
    CString SpanExcluding(const char16_t* set) const;

    // -1 when not found.
    int Find(char16_t ch, int start = 0) const;
    int Find(const char16_t* text, int start = 0) const;
    int ReverseFind(char16_t ch) const;
    int FindOneOf(const char16_t* set) const;

    // Return the number of replacements / removals / the new length.
    int Replace(char16_t from, char16_t to);
    int Replace(const char16_t* from, const char16_t* to);
    int Remove(char16_t ch);
    int Insert(int index, char16_t ch);
    int Insert(int index, const char16_t* text);
    int Delete(int index, int count = 1);

    // Without arguments: white space (space, tab, CR, LF, VT, FF).
    CString& Trim();
    CString& Trim(char16_t ch);
    CString& Trim(const char16_t* set);
    CString& TrimLeft();
    CString& TrimLeft(char16_t ch);
    CString& TrimLeft(const char16_t* set);
    CString& TrimRight();
    CString& TrimRight(char16_t ch);
    CString& TrimRight(const char16_t* set);

    // With the case mapping of towupper/towlower (platform/base/wstr.h).
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // Next token after `start`, skipping leading delimiters; start becomes -1
    // and the result empty when no token is left. With no delimiters the rest
    // of the text is one token (and the next call ends), rather than the same
    // token forever.
    CString Tokenize(const char16_t* delimiters, int& start) const;

    template <class... A>
    void Format(const char16_t* format, const A&... args) {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        m_text = FormatWide(format, list, sizeof...(A));
    }
    template <class... A>
    void AppendFormat(const char16_t* format, const A&... args) {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        m_text += FormatWide(format, list, sizeof...(A));
    }

    // A writable buffer of at least `minLength` characters plus terminator;
    // ReleaseBuffer(-1) takes the length up to the first NUL.
    char16_t* GetBuffer(int minLength = 0);
    char16_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    std::u16string m_text;
};

inline FormatArg::FormatArg(const CString& v) : kind(Kind::Wide), ws(v.GetString()) {}
