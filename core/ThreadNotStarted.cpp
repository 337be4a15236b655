#include "core/ThreadNotStarted.h"

#include <cstdio>

#include "core/LangText.h"
#include "core/ShowMessage.h"

void ReportThreadNotStarted(const char* thread, const char* without) {
    std::fprintf(stderr, "quillon: the %s could not be started: %s\n", thread, without);
}

void ShowThreadNotStarted(const char16_t* section, const char16_t* key, const char16_t* defaultText) {
    CString text;
    GetLangText(section, key, defaultText, text);
    ShowMessage(text, 0);
}
