#include "main/ScreenFile.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "core/ThreadNotStarted.h"
#include "platform/base/atomic_file.h"
#include "platform/base/threads.h"
#include "platform/ui/display.h"
#include "platform/ui/imagefile.h"

namespace ScreenFile {

namespace {

struct Picture {
    std::string path;
    std::vector<Pixel> pixels;
    int width = 0;
    int height = 0;
};

// Pictures are encoded and written on a thread of their own: the encoding
// and the syncs of the atomic replace take milliseconds the screen need not
// wait for. Only the newest picture waiting is written, and the last one is
// on disk before the program ends.
class Writer {
public:
    ~Writer() {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        if (m_thread.joinable()) m_thread.join();
    }

    void Post(Picture picture) {
        std::unique_lock lock(m_mutex);
        if (!m_thread.joinable() && !m_inLine && !StartHostThread(m_thread, WriterThread, this)) {
            m_inLine = true;
            ReportThreadNotStarted("screen file's writer thread", "the screen file is written as the screen changes");
        }
        if (m_inLine) {
            // Slower for the screen, but the file still shows it.
            Write(picture, lock);
            return;
        }
        m_waiting = std::move(picture);
        m_changed.notify_all();
    }

    void Flush() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_waiting && !m_writing; });
    }

    // True once after a write failed, so the caller writes that screen again.
    bool TakeFailure() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_failed, false);
    }

    void Run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return m_waiting || m_stopping; });
            if (!m_waiting) return;
            Picture picture = std::move(*m_waiting);
            m_waiting.reset();
            Write(picture, lock);
        }
    }

private:
    // Writes with the lock released meanwhile.
    void Write(Picture& picture, std::unique_lock<std::mutex>& lock) {
        m_writing = true;
        lock.unlock();
        const Surface screen = Surface::View(picture.pixels.data(), picture.width, picture.height, picture.width);
        const bool written = SaveSurfacePng(screen, picture.path);
        lock.lock();
        m_writing = false;
        if (!written) m_failed = true;
        m_changed.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<Picture> m_waiting;
    bool m_writing = false;
    bool m_failed = false;
    bool m_stopping = false;
    bool m_inLine = false;  // no writer thread could be had
    std::thread m_thread;
};

Writer g_writer;
std::string g_path;
std::vector<Pixel> g_written;

}  // namespace

void WriterThread(void* writer) { static_cast<Writer*>(writer)->Run(); }

void SetPath(const std::string& hostPath) {
    g_path = hostPath;
    g_written.clear();
    // A write cut by a power failure leaves its temporary file behind.
    if (!g_path.empty()) RemoveStaleTemporaries(g_path);
}

void WriteWhenChanged() {
    if (g_path.empty()) return;
    if (g_writer.TakeFailure()) g_written.clear();
    const Surface& screen = ScreenSurface();
    std::vector<Pixel> now;
    now.reserve(static_cast<size_t>(screen.Width() * screen.Height()));
    for (int y = 0; y < screen.Height(); ++y) now.insert(now.end(), screen.Row(y), screen.Row(y) + screen.Width());
    if (now == g_written) return;
    g_written = now;
    g_writer.Post(Picture{g_path, std::move(now), screen.Width(), screen.Height()});
}

void Flush() { g_writer.Flush(); }

}  // namespace ScreenFile
