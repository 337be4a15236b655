#include "core/RegistryKey.h"

#include <new>
#include <vector>

namespace {

WCHAR* CopyPiece(const CString& text, int start, int length) {
    WCHAR* piece = new (std::nothrow) WCHAR[static_cast<size_t>(length) + 1];
    if (!piece)
        return nullptr;
    std::char_traits<char16_t>::copy(piece, text.GetString() + start, static_cast<size_t>(length));
    piece[length] = 0;
    return piece;
}

}  // namespace

LONG RegQueryString(HKEY key, LPCWSTR name, CString& text) {
    text.Empty();
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size);
    if (result != ERROR_SUCCESS)
        return result;
    // The value may change between the two calls: ask again while it grows.
    for (;;) {
        std::vector<char16_t> room(size / sizeof(char16_t) + 2, u'\0');
        DWORD got = size;
        result = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(room.data()), &got);
        if (result == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (result == ERROR_SUCCESS)
            text = CString(room.data());
        return result;
    }
}

BOOL CRegistryKey::Report(LONG result, DWORD* error) {
    m_lastError = static_cast<DWORD>(result);
    if (error)
        *error = m_lastError;
    return result == ERROR_SUCCESS;
}

BOOL CRegistryKey::Open(HKEY root, LPCWSTR subKey) {
    Close();
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExW(root, subKey, 0, KEY_ALL_ACCESS, &key);
    if (result != ERROR_SUCCESS) {
        m_key = nullptr;
        return Report(result, nullptr);
    }
    m_key = key;
    return TRUE;
}

BOOL CRegistryKey::Close() {
    if (!m_key)
        return FALSE;
    const LONG result = RegCloseKey(m_key);
    m_key = nullptr;
    return result == ERROR_SUCCESS;
}

BOOL CRegistryKey::QueryValue(LPCWSTR name, void* buffer, DWORD size) {
    if (!m_key)
        return FALSE;
    return Report(RegQueryValueExW(m_key, name, nullptr, nullptr, static_cast<BYTE*>(buffer), &size), nullptr);
}

BOOL CRegistryKey::QueryDWORDValue(LPCWSTR name, DWORD& value, DWORD* error) {
    const BOOL done = QueryValue(name, &value, sizeof value);
    if (error)
        *error = m_lastError;
    return done;
}

BOOL CRegistryKey::QueryStringValue(LPCWSTR name, LPWSTR buffer, DWORD size, DWORD* error) {
    if (!m_key || size < sizeof(WCHAR))
        return FALSE;
    const DWORD units = size / sizeof(WCHAR);
    std::char_traits<char16_t>::assign(buffer, units, u'\0');
    const BOOL done = QueryValue(name, buffer, size);
    buffer[units - 1] = 0;
    if (error)
        *error = m_lastError;
    return done;
}

BOOL CRegistryKey::QueryStringValue(LPCWSTR name, CString& text, DWORD* error) {
    if (!m_key)
        return FALSE;
    return Report(RegQueryString(m_key, name, text), error);
}

WCHAR** CRegistryKey::QueryStringList(LPCWSTR name, DWORD* error) {
    CString text;
    if (!QueryStringValue(name, text, error) || text.IsEmpty())
        return nullptr;
    int count = 0;
    for (int i = 0; i < text.GetLength(); ++i)
        count += text[i] == u';' ? 1 : 0;
    if (text[text.GetLength() - 1] != u';')
        ++count;
    WCHAR** list = new (std::nothrow) WCHAR*[static_cast<size_t>(count) + 3]();
    if (!list)
        return nullptr;
    int entry = 0;
    for (int start = 0; start < text.GetLength();) {
        int end = text.Find(u';', start);
        if (end < 0)
            end = text.GetLength();
        WCHAR* piece = CopyPiece(text, start, end - start);
        if (!piece)
            break;
        list[entry++] = piece;
        start = end + 1;
    }
    return list;
}

void CRegistryKey::FreeStringList(WCHAR** list) {
    if (!list)
        return;
    for (WCHAR** entry = list; *entry; ++entry)
        delete[] *entry;
    delete[] list;
}

BOOL CRegistryKey::SetValue(LPCWSTR name, const void* data, DWORD type, DWORD size) {
    if (!m_key)
        return FALSE;
    return Report(RegSetValueExW(m_key, name, 0, type, static_cast<const BYTE*>(data), size), nullptr);
}

BOOL CRegistryKey::SetDWORDValue(LPCWSTR name, DWORD value, DWORD* error) {
    const BOOL done = SetValue(name, &value, REG_DWORD, sizeof value);
    if (error)
        *error = m_lastError;
    return done;
}

BOOL CRegistryKey::SetStringValue(LPCWSTR name, LPCWSTR text, DWORD* error) {
    const DWORD size = static_cast<DWORD>((std::char_traits<char16_t>::length(text) + 1) * sizeof(WCHAR));
    const BOOL done = SetValue(name, text, REG_SZ, size);
    if (error)
        *error = m_lastError;
    return done;
}

BOOL CRegistryKey::CreateKey(HKEY root, LPCWSTR subKey, LPCWSTR keyClass) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG result = RegCreateKeyExW(root, subKey, 0, const_cast<LPWSTR>(keyClass), REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS)
        return FALSE;
    RegCloseKey(key);
    return TRUE;
}

BOOL CRegistryKey::DeleteKey(HKEY root, LPCWSTR subKey) { return RegDeleteKeyW(root, subKey) == ERROR_SUCCESS; }
