// The debug fan-out: every debug message goes to the log file, to the
// debugger in debug mode, and to the channel the debug window chose (its
// list, or a serial port). Formatting is bounded; a text that is not a
// format (a path, a message from elsewhere) goes in as a "%s" argument.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/format.h"

constexpr int kDebugPrintRoom = 5120;

void DebugPrintText(const CString& text);

template <class... A>
void DebugPrint(const char16_t* format, const A&... args) {
    char16_t text[kDebugPrintRoom];
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    FormatWideInto(text, kDebugPrintRoom, format, list, sizeof...(A));
    DebugPrintText(CString(text));
}
