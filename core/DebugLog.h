// The debug log file: every debug message of the terminal as one line with
// the time, the performance counter and the thread. The file is recreated
// once per process, at its first successful open, so that each start
// begins with an empty log. Within a run it stays bounded, for it shares
// the flash with the database: past kMaxBytes the file becomes the one old
// file (its name + ".old", replacing the one before) and a new one begins,
// so the newest lines are always kept.
#pragma once

#include <mutex>
#include <string>

#include "platform/base/format.h"
#include "platform/base/types.h"

// The full path of the log file (application directory + "log\KD4700.log"),
// published by the system initialisation before its first debug message.
extern const char16_t* g_pszLogPath;

class CDebugLog {
public:
    static constexpr int kMaxLine = 1024;
    static constexpr DWORD kMaxBytes = 4u << 20;

    CDebugLog();
    virtual ~CDebugLog();
    CDebugLog(const CDebugLog&) = delete;
    CDebugLog& operator=(const CDebugLog&) = delete;

    // Wide text is stored in code page 936; a message of 1024 characters or
    // more, or whose line would pass 1024 bytes, is dropped whole.
    template <class... A>
    void LogW(const char16_t* format, const A&... args) {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        LogWideArgs(format, list, sizeof...(A));
    }
    // 8-bit text, written byte for byte.
    template <class... A>
    void LogA(const char* format, const A&... args) {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        LogNarrowArgs(format, list, sizeof...(A));
    }

    // Creates the file (deleting an older one and its old file only on the
    // process's first successful open) and writes the header; nothing after
    // Close.
    void Open(const char16_t* path);
    void Close();
    bool IsOpen() const { return m_open; }

private:
    void LogWideArgs(const char16_t* format, const FormatArg* args, size_t count);
    void LogNarrowArgs(const char* format, const FormatArg* args, size_t count);
    void WriteLine(const std::string& text);
    void WriteHeader();
    // Makes room for `bytes` more: the file past the bound becomes the old
    // file and a new one is begun; false when no file is open any more.
    bool MakeRoom(DWORD bytes);
    bool OpenFile(DWORD disposition);

    std::recursive_mutex m_lock;
    std::u16string m_path;
    HANDLE m_file = nullptr;
    DWORD m_size = 0;
    bool m_open = false;
    bool m_created = false;  // the file of this process exists
    bool m_closed = false;   // closed for good
    DWORD m_indentSlot;
};

// The one log; while it is not open (and not closed) each call tries to
// open it at g_pszLogPath.
CDebugLog& GetLogger();
