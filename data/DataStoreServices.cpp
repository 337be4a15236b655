#include "data/DataStoreServices.h"

#include "data/CodePageField.h"
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

CString DataLangFormat(LPCWSTR section, LPCWSTR key, LPCWSTR defaultFormat) {
    if (g_DataStoreServices.langFormat) return g_DataStoreServices.langFormat(section, key, defaultFormat);
    return CString(defaultFormat);
}

namespace {

int SystemCodePage(LPCWSTR text, char* buffer, int room) {
    return WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, room, nullptr, nullptr);
}

}  // namespace

void DataTextToMultiByte(LPCWSTR text, char* buffer, int room) {
    FitTextToField(text, buffer, room,
                   g_DataStoreServices.textToMultiByte ? g_DataStoreServices.textToMultiByte : SystemCodePage);
}

int DataSensorVersion() { return g_DataStoreServices.SMCVersion ? g_DataStoreServices.SMCVersion() : 0; }
