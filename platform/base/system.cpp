#include "platform/base/system.h"

#include <string>

#include "platform/base/debug.h"
#include "platform/base/utf.h"

BOOL SetSystemMemoryDivision(DWORD storePages) {
    JournalWrite(kJournalSystem, Utf8ToUtf16("SetSystemMemoryDivision " + std::to_string(storePages)));
    return TRUE;
}

HRESULT CoInitializeEx(LPVOID, DWORD coInit) {
    JournalWrite(kJournalSystem, Utf8ToUtf16("CoInitializeEx " + std::to_string(coInit)));
    return S_OK;
}
