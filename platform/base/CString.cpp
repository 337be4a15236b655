#include "platform/base/CString.h"

#include <algorithm>

#include "platform/base/codepage.h"
#include "platform/base/wstr.h"

namespace {

constexpr const char16_t* kWhiteSpace = u" \t\r\n\v\f";

std::u16string_view ViewOf(const char16_t* text) { return text ? std::u16string_view(text) : std::u16string_view(); }

int Clamp(int64_t value, int low, int high) { return static_cast<int>(std::clamp<int64_t>(value, low, high)); }

bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch < 0xDC00; }
bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch < 0xE000; }

int IndexOrMinusOne(size_t position) { return position == std::u16string::npos ? -1 : static_cast<int>(position); }

}  // namespace

CString::CString(const char16_t* text) : m_text(ViewOf(text)) {}

CString::CString(const char16_t* text, int length) {
    if (text && length > 0) m_text.assign(text, static_cast<size_t>(length));
}

CString::CString(char16_t ch, int repeat) : m_text(static_cast<size_t>(std::max(repeat, 0)), ch) {}

CString::CString(const char* text) : m_text(text ? DecodeCodePage(CP_ACP, text) : std::u16string()) {}

char16_t CString::GetAt(int index) const {
    return index >= 0 && index < GetLength() ? m_text[static_cast<size_t>(index)] : u'\0';
}

void CString::SetAt(int index, char16_t ch) {
    if (index >= 0 && index < GetLength()) m_text[static_cast<size_t>(index)] = ch;
}

CString& CString::operator=(const char16_t* text) {
    m_text = ViewOf(text);
    return *this;
}

CString& CString::operator=(char16_t ch) {
    m_text.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& text) {
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(const char16_t* text) {
    m_text += ViewOf(text);
    return *this;
}

CString& CString::operator+=(char16_t ch) {
    m_text += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) { return CString(a.m_text + b.m_text); }

CString operator+(const CString& a, const char16_t* b) {
    CString result(a);
    return result += b;
}

CString operator+(const char16_t* a, const CString& b) {
    CString result(a);
    return result += b;
}

CString operator+(const CString& a, char16_t b) {
    CString result(a);
    return result += b;
}

CString operator+(char16_t a, const CString& b) {
    CString result(a);
    return result += b;
}

bool operator==(const CString& a, const char16_t* b) { return a.m_text == ViewOf(b); }

int CString::Compare(const char16_t* text) const { return wcscmp(GetString(), text ? text : u""); }

int CString::CompareNoCase(const char16_t* text) const { return _wcsicmp(GetString(), text ? text : u""); }

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
    count = Clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(const char16_t* set) const {
    return Left(static_cast<int>(std::min(m_text.find_first_not_of(ViewOf(set)), m_text.size())));
}

CString CString::SpanExcluding(const char16_t* set) const {
    return Left(static_cast<int>(std::min(m_text.find_first_of(ViewOf(set)), m_text.size())));
}

int CString::Find(char16_t ch, int start) const {
    if (start < 0 || start >= GetLength()) return -1;
    return IndexOrMinusOne(m_text.find(ch, static_cast<size_t>(start)));
}

int CString::Find(const char16_t* text, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    return IndexOrMinusOne(m_text.find(ViewOf(text), static_cast<size_t>(start)));
}

int CString::ReverseFind(char16_t ch) const { return IndexOrMinusOne(m_text.rfind(ch)); }

int CString::FindOneOf(const char16_t* set) const { return IndexOrMinusOne(m_text.find_first_of(ViewOf(set))); }

int CString::Replace(char16_t from, char16_t to) {
    if (from == to) return 0;
    int count = 0;
    for (char16_t& ch : m_text) {
        if (ch == from) {
            ch = to;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char16_t* from, const char16_t* to) {
    const std::u16string_view old = ViewOf(from);
    const std::u16string_view replacement = ViewOf(to);
    if (old.empty()) return 0;
    std::u16string result;
    int count = 0;
    size_t done = 0;
    for (size_t at = m_text.find(old); at != std::u16string::npos; at = m_text.find(old, done)) {
        result.append(m_text, done, at - done);
        result += replacement;
        done = at + old.size();
        ++count;
    }
    if (count == 0) return 0;
    result.append(m_text, done, std::u16string::npos);
    m_text = std::move(result);
    return count;
}

int CString::Remove(char16_t ch) {
    const size_t before = m_text.size();
    std::erase(m_text, ch);
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int index, char16_t ch) { return Insert(index, std::u16string(1, ch).c_str()); }

int CString::Insert(int index, const char16_t* text) {
    index = Clamp(index, 0, GetLength());
    m_text.insert(static_cast<size_t>(index), ViewOf(text));
    return GetLength();
}

int CString::Delete(int index, int count) {
    index = std::max(index, 0);
    if (index < GetLength() && count > 0)
        m_text.erase(static_cast<size_t>(index), static_cast<size_t>(Clamp(count, 0, GetLength() - index)));
    return GetLength();
}

CString& CString::Trim() { return Trim(kWhiteSpace); }
CString& CString::Trim(char16_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const char16_t* set) { return TrimRight(set).TrimLeft(set); }
CString& CString::TrimLeft() { return TrimLeft(kWhiteSpace); }
CString& CString::TrimRight() { return TrimRight(kWhiteSpace); }

CString& CString::TrimLeft(char16_t ch) {
    const char16_t set[] = {ch, u'\0'};
    return TrimLeft(set);
}

CString& CString::TrimRight(char16_t ch) {
    const char16_t set[] = {ch, u'\0'};
    return TrimRight(set);
}

CString& CString::TrimLeft(const char16_t* set) {
    const size_t first = m_text.find_first_not_of(ViewOf(set));
    m_text.erase(0, first == std::u16string::npos ? m_text.size() : first);
    return *this;
}

CString& CString::TrimRight(const char16_t* set) {
    const size_t last = m_text.find_last_not_of(ViewOf(set));
    m_text.erase(last == std::u16string::npos ? 0 : last + 1);
    return *this;
}

CString& CString::MakeUpper() {
    for (char16_t& ch : m_text) ch = towupper(ch);
    return *this;
}

CString& CString::MakeLower() {
    for (char16_t& ch : m_text) ch = towlower(ch);
    return *this;
}

// Surrogate pairs stay in order so the reversed text is still valid UTF-16.
CString& CString::MakeReverse() {
    std::reverse(m_text.begin(), m_text.end());
    for (size_t i = 0; i + 1 < m_text.size(); ++i) {
        if (IsLowSurrogate(m_text[i]) && IsHighSurrogate(m_text[i + 1])) {
            std::swap(m_text[i], m_text[i + 1]);
            ++i;
        }
    }
    return *this;
}

CString CString::Tokenize(const char16_t* delimiters, int& start) const {
    if (start >= 0 && start < GetLength()) {
        const std::u16string_view set = ViewOf(delimiters);
        const size_t from = m_text.find_first_not_of(set, static_cast<size_t>(start));
        if (from != std::u16string::npos) {
            size_t until = m_text.find_first_of(set, from);
            if (until == std::u16string::npos) until = m_text.size();
            // Past the delimiter that ended the token (or past the end).
            start = static_cast<int>(std::min(until + 1, m_text.size() + 1));
            return CString(m_text.substr(from, until - from));
        }
    }
    start = -1;
    return CString();
}

char16_t* CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) m_text.resize(static_cast<size_t>(minLength));
    return m_text.data();
}

char16_t* CString::GetBufferSetLength(int length) {
    m_text.resize(static_cast<size_t>(std::max(length, 0)));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0)
        m_text.resize(wcsnlen(m_text.data(), m_text.size()));
    else
        m_text.resize(std::min(static_cast<size_t>(newLength), m_text.size()));
}
