// What the data store calls of the services around it: start-up's message
// boxes, language texts, code-page conversion and settings, and the
// fingerprint libraries. Start-up fills the table once, before it creates
// the data objects; each empty entry has the fallback noted.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/types.h"

struct DataStoreServices {
    // A modal box with an OK button. Empty: nothing is shown.
    void (*messageBox)(LPCWSTR text, LPCWSTR caption) = nullptr;
    // The system's one-button message box. Empty: nothing is shown.
    void (*showMessage)(LPCWSTR text) = nullptr;
    // The language file's text for (section, key). Empty: the default text.
    CString (*langText)(LPCWSTR section, LPCWSTR key, LPCWSTR defaultText) = nullptr;
    // The same for a text used as a format: a translation whose conversions
    // differ from the default's gives the default. Empty: the default.
    CString (*langFormat)(LPCWSTR section, LPCWSTR key, LPCWSTR defaultFormat) = nullptr;
    // Text into the device code page, zero-terminated, at most `room` bytes.
    // Empty: the system code page.
    int (*textToMultiByte)(LPCWSTR text, char* buffer, int room) = nullptr;
    // The device's verification mode setting. Empty: a user's 6 stays 6.
    int (*deviceVerifyMode)() = nullptr;

    // Fingerprint libraries. SMCVersion empty: version 0.
    int (*SMCVersion)() = nullptr;
    // Two 169-byte templates (338 bytes) into a 1024-byte matching record.
    int (*VeltoTempToFPRECORD)(const BYTE* templates, BYTE* record) = nullptr;
    // Merges a live template into a stored 1024-byte record; non-zero when
    // the stored one was improved, with the merged record and its 338-byte
    // storable form written out.
    int (*VeltoAutoUpFP)(const BYTE* live, const BYTE* stored, BYTE* mergedRecord, BYTE* storable) = nullptr;
};

extern DataStoreServices g_DataStoreServices;

// The conveniences the data objects use, with the fallbacks above.
void DataMessageBox(LPCWSTR text, LPCWSTR caption);
void DataShowMessage(LPCWSTR text);
CString DataLangText(LPCWSTR section, LPCWSTR key, LPCWSTR defaultText);
CString DataLangFormat(LPCWSTR section, LPCWSTR key, LPCWSTR defaultFormat);
// Fills `room` bytes with the longest start of the text whose converted
// form fits, zero-filled after it: no character is cut in two.
void DataTextToMultiByte(LPCWSTR text, char* buffer, int room);
int DataSensorVersion();
