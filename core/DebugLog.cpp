#include "core/DebugLog.h"

#include "platform/base/clock.h"
#include "platform/base/codepage.h"
#include "platform/base/files.h"
#include "platform/base/localtime.h"
#include "platform/base/modules.h"
#include "platform/base/threads.h"

const char16_t* g_pszLogPath = nullptr;

CDebugLog& GetLogger() {
    // The object stays for the whole process, so that threads still running
    // at its end may call it and find it closed. The program closes it on
    // its way out (EndProcess); nothing closes it from an exit handler,
    // where the thread's own state may already be gone.
    static CDebugLog* log = new CDebugLog;
    if (!log->IsOpen() && g_pszLogPath) log->Open(g_pszLogPath);
    return *log;
}

CDebugLog::CDebugLog() : m_indentSlot(TlsAlloc()) {}

CDebugLog::~CDebugLog() {
    Close();
    TlsFree(m_indentSlot);
}

namespace {

std::u16string OldFileOf(const std::u16string& path) { return path + u".old"; }

}  // namespace

void CDebugLog::Open(const char16_t* path) {
    TlsSetValue(m_indentSlot, nullptr);
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_open || m_closed) return;
    m_path = path;
    if (!m_created) {
        DeleteFileW(path);
        DeleteFileW(OldFileOf(m_path).c_str());
    }
    if (!OpenFile(OPEN_ALWAYS)) return;
    m_created = true;
    WriteHeader();
}

bool CDebugLog::OpenFile(DWORD disposition) {
    const HANDLE file = CreateFileW(m_path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    m_open = file != INVALID_HANDLE_VALUE;
    if (!m_open) return false;
    m_file = file;
    m_size = SetFilePointer(m_file, 0, nullptr, FILE_END);
    return true;
}

bool CDebugLog::MakeRoom(DWORD bytes) {
    if (m_size <= kMaxBytes - bytes) return true;
    CloseHandle(m_file);
    m_file = nullptr;
    // Should the move fail, the lines go on into the same file rather than
    // be lost.
    const bool moved = MoveFileExW(m_path.c_str(), OldFileOf(m_path).c_str(), MOVEFILE_REPLACE_EXISTING);
    return OpenFile(moved ? CREATE_ALWAYS : OPEN_ALWAYS);
}

void CDebugLog::WriteHeader() {
    LogW(u"%s", u"=============================================");
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char16_t program[261] = {};
    GetModuleFileNameW(nullptr, program, 260);
    LogW(u"Log is started on %02u.%02u.%04u, at %02u:%02u:%02u:%03u, executable: %s (ProcID: 0x%08x), compile time : "
         u"%s %s",
         now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, program,
         GetCurrentProcessId(), __DATE__, __TIME__);
}

void CDebugLog::Close() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!m_open) return;
    LogW(u"%s", u"Log finished");
    CloseHandle(m_file);
    m_file = nullptr;
    m_open = false;
    m_closed = true;
}

void CDebugLog::LogWideArgs(const char16_t* format, const FormatArg* args, size_t count) {
    if (!m_open) return;
    char16_t text[kMaxLine];
    const int length = FormatWideInto(text, kMaxLine, format, args, count);
    if (length < 0) return;
    std::string bytes(static_cast<size_t>(length) * 2 + 1, '\0');
    const int written =
        WideCharToMultiByte(936, 0, text, length, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
    WriteLine(bytes);
}

void CDebugLog::LogNarrowArgs(const char* format, const FormatArg* args, size_t count) {
    if (!m_open) return;
    char text[kMaxLine];
    const int length = FormatNarrowInto(text, kMaxLine, format, args, count);
    if (length < 0) return;
    WriteLine(std::string(text, static_cast<size_t>(length)));
}

void CDebugLog::WriteLine(const std::string& text) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!m_open) return;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    char stamp[64];
    _snprintf(stamp, sizeof stamp, "%02u:%02u:%02u(%I64d)", now.wHour, now.wMinute, now.wSecond, counter.QuadPart);
    const auto depth = reinterpret_cast<uintptr_t>(TlsGetValue(m_indentSlot));
    const std::string indent(depth < 100 ? depth : 99, ' ');
    char line[kMaxLine + 1];
    const int length = _snprintf(line, sizeof line, "%s,thr 0x%08X : %s%s\r\n", stamp, GetCurrentThreadId(),
                                 indent, text);
    if (length < 0 || length > kMaxLine || !MakeRoom(static_cast<DWORD>(length))) return;
    m_size = SetFilePointer(m_file, 0, nullptr, FILE_END);
    DWORD done = 0;
    WriteFile(m_file, line, static_cast<DWORD>(length), &done, nullptr);
    m_size += done;
    if (done < static_cast<DWORD>(length)) FlushFileBuffers(m_file);
}
