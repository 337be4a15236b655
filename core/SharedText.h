// A text field that one thread replaces while others read it: every read
// takes a copy and every write replaces the whole text under one small lock
// shared by all such fields.
#pragma once

#include "platform/base/CString.h"

class SharedText {
public:
    SharedText() = default;
    SharedText(const SharedText& other) : m_text(other.Get()) {}
    SharedText& operator=(const SharedText& other) { return *this = other.Get(); }
    SharedText& operator=(const CString& text);
    SharedText& operator=(const char16_t* text) { return *this = CString(text); }

    CString Get() const;
    operator CString() const { return Get(); }
    bool IsEmpty() const { return Get().IsEmpty(); }
    friend bool operator==(const SharedText& a, const char16_t* b) { return a.Get() == CString(b); }
    friend bool operator==(const SharedText& a, const CString& b) { return a.Get() == b; }

private:
    CString m_text;
};
