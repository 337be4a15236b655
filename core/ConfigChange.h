// A change of settings that reaches config.xml whole or not at all. The
// keys go into the settings document as usual, without saving; Save() then
// writes the document to the file. When the file cannot be written (a full
// flash), the document is put back as it stood before the change and the
// failure is told, so that memory holds no value the file does not and the
// next start finds the settings the terminal was using.
#pragma once

#include "platform/base/CString.h"

class CConfigChange {
public:
    CConfigChange();
    CConfigChange(const CConfigChange&) = delete;
    CConfigChange& operator=(const CConfigChange&) = delete;

    // True when the file holds the change. Otherwise the document is put
    // back and the message box says the settings were not saved; the
    // caller keeps its old values.
    bool Save();

private:
    CString m_before;
    int m_beforeFlags = 0;
};
