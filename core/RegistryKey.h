// The owner of one open registry key: closed exactly once, and the error
// code of the last failed call kept. Used as a local object.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/registry.h"

// Reads a string value whatever its length, always terminated; the first
// string of a REG_MULTI_SZ. Returns the registry's result code.
LONG RegQueryString(HKEY key, LPCWSTR name, CString& text);

class CRegistryKey {
public:
    CRegistryKey() = default;
    CRegistryKey(HKEY root, LPCWSTR subKey) { Open(root, subKey); }
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    BOOL Open(HKEY root, LPCWSTR subKey);
    BOOL Close();
    BOOL IsOpen() const { return m_key != nullptr; }

    BOOL QueryValue(LPCWSTR name, void* buffer, DWORD size);
    BOOL QueryDWORDValue(LPCWSTR name, DWORD& value, DWORD* error = nullptr);
    // Fixed room of `size` bytes; the text is always terminated.
    BOOL QueryStringValue(LPCWSTR name, LPWSTR buffer, DWORD size, DWORD* error = nullptr);
    // Room sized to the value.
    BOOL QueryStringValue(LPCWSTR name, CString& text, DWORD* error = nullptr);
    // The pieces of a ";"-separated string value, newly allocated, ended by
    // an empty entry; null for a failed read or an empty text.
    WCHAR** QueryStringList(LPCWSTR name, DWORD* error = nullptr);
    static void FreeStringList(WCHAR** list);

    BOOL SetValue(LPCWSTR name, const void* data, DWORD type, DWORD size);
    BOOL SetDWORDValue(LPCWSTR name, DWORD value, DWORD* error = nullptr);
    BOOL SetStringValue(LPCWSTR name, LPCWSTR text, DWORD* error = nullptr);

    // Act on the root given, not on this object's key.
    static BOOL CreateKey(HKEY root, LPCWSTR subKey, LPCWSTR keyClass);
    static BOOL DeleteKey(HKEY root, LPCWSTR subKey);

    DWORD LastError() const { return m_lastError; }

private:
    BOOL Report(LONG result, DWORD* error);

    HKEY m_key = nullptr;
    DWORD m_lastError = 0;
};
