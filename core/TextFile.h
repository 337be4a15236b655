// One read or write of a whole text file in the encoding it is kept in.
// A read finds the encoding from a byte-order mark, from the document's own
// declaration or by a UTF-8 check; a write puts the mark back and replaces
// the file atomically, so an interrupted save leaves the old or the new file.
#pragma once

#include <string>

#include "platform/base/CString.h"

class TextFile {
public:
    explicit TextFile(int docFlags) : flags(docFlags) {}

    // mode: XDF_READFILE or XDF_WRITEFILE. A read takes the whole file in;
    // a write only prepares the byte-order mark.
    bool Open(const char16_t* path, int mode);
    bool ReadText(CString& text);
    bool WriteText(const CString& text);
    // Ends the operation; a write goes to disk here.
    bool Close();
    // The encoding given by the caller replaces the one found, for 8-bit files.
    void ForceEncoding(const CString& forced);
    static CString LastErrorText();

    int flags;
    int fileByteLength = 0;
    int unitSize = 1;
    int textLength = 0;
    CString result;
    CString encoding;

private:
    void DetectEncoding();

    CString m_path;
    std::string m_bytes;  // the file after its mark, or the bytes to write
};
