#include "core/CodePageText.h"

#include <cstring>
#include <string>

#include "core/MachineConfig.h"
#include "platform/base/codepage.h"
#include "platform/base/utf.h"

IconvOpenProc g_pfnIconvOpen = nullptr;
IconvProc g_pfnIconv = nullptr;
IconvCloseProc g_pfnIconvClose = nullptr;

namespace {

// One conversion through a converter opened for this call; a converter
// that cannot be opened converts nothing.
void ConvertWithIconv(const char* to, const char* from, const char* input, size_t inputBytes, char* output,
                      size_t room) {
    const iconv_t converter = g_pfnIconvOpen(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1) || converter == nullptr) return;
    char* in = const_cast<char*>(input);
    size_t inLeft = inputBytes;
    char* out = output;
    size_t outLeft = room;
    g_pfnIconv(converter, &in, &inLeft, &out, &outLeft);
    g_pfnIconvClose(converter);
}

bool IconvLoaded() { return g_pfnIconvOpen && g_pfnIconv && g_pfnIconvClose; }

}  // namespace

int MultiByteToText(const char* text, LPWSTR buffer, int size) {
    const CString charset = g_MachineConfig.IconvCharset;
    if (charset.IsEmpty()) {
        const UINT codePage = g_MachineConfig.CodePage == 0 ? 936u : static_cast<UINT>(g_MachineConfig.CodePage);
        return MultiByteToWideChar(codePage, 0, text, -1, buffer, size);
    }
    if (!IconvLoaded()) return 0;
    std::memset(buffer, 0, static_cast<size_t>(size) * sizeof(WCHAR));
    const std::string name = Utf16ToUtf8(charset.str());
    ConvertWithIconv("UCS-2LE", name.c_str(), text, std::strlen(text), reinterpret_cast<char*>(buffer),
                     static_cast<size_t>(size) * sizeof(WCHAR) - sizeof(WCHAR));
    return 1;
}

int TextToMultiByte(LPCWSTR text, char* buffer, int size) {
    const CString charset = g_MachineConfig.IconvCharset;
    if (charset.IsEmpty()) {
        const UINT codePage = g_MachineConfig.CodePage == 0 ? CP_ACP : static_cast<UINT>(g_MachineConfig.CodePage);
        return WideCharToMultiByte(codePage, 0, text, -1, buffer, size, nullptr, nullptr);
    }
    if (!IconvLoaded()) return 0;
    const std::string name = Utf16ToUtf8(charset.str());
    ConvertWithIconv(name.c_str(), "UCS-2LE", reinterpret_cast<const char*>(text),
                     std::char_traits<char16_t>::length(text) * sizeof(WCHAR), buffer, static_cast<size_t>(size));
    return 1;
}
