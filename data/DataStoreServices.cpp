#include "data/DataStoreServices.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/base/codepage.h"

DataStoreServices g_DataStoreServices;

void DataMessageBox(LPCWSTR text, LPCWSTR caption) {
    if (g_DataStoreServices.messageBox) g_DataStoreServices.messageBox(text, caption);
}

void DataShowMessage(LPCWSTR text) {
    if (g_DataStoreServices.showMessage) g_DataStoreServices.showMessage(text);
}

CString DataLangText(LPCWSTR section, LPCWSTR key, LPCWSTR defaultText) {
    if (g_DataStoreServices.langText) return g_DataStoreServices.langText(section, key, defaultText);
    return CString(defaultText);
}

void DataTextToMultiByte(LPCWSTR text, char* buffer, int room) {
    // Converted whole, then cut: a long name keeps its first `room` bytes.
    std::string whole(std::char_traits<char16_t>::length(text) * 4 + 1, '\0');
    const int size = static_cast<int>(whole.size());
    if (g_DataStoreServices.textToMultiByte)
        g_DataStoreServices.textToMultiByte(text, whole.data(), size);
    else
        WideCharToMultiByte(CP_ACP, 0, text, -1, whole.data(), size, nullptr, nullptr);
    std::memset(buffer, 0, room);
    std::memcpy(buffer, whole.data(), std::min<size_t>(std::strlen(whole.c_str()), room));
}

int DataSensorVersion() { return g_DataStoreServices.SMCVersion ? g_DataStoreServices.SMCVersion() : 0; }
