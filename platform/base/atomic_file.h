// Replacing a file so that a crash at any moment leaves either the old or
// the new content: the new content goes to a temporary name in the same
// folder, is flushed to disk, renamed over the target, and the folder entry
// itself is flushed.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/base/types.h"

class AtomicFileWriter {
public:
    // Creates the temporary file beside `hostPath`; check IsOpen().
    explicit AtomicFileWriter(std::string hostPath);
    // Without Commit, the temporary file is removed and the target untouched.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    bool Write(const void* data, size_t size);
    // The replaced file gets `mode`, or by default the target's present
    // permissions (new files: 0666 less the umask).
    void SetMode(mode_t mode) { m_mode = mode; m_hasMode = true; }
    // The new content flushed to disk and its file closed, so that many new
    // files may wait for their Commit without holding a descriptor each.
    // Write fails after it. False too when a folder stands in the target's
    // place, which no rename replaces: files that go together learn it
    // before the first of them is replaced.
    bool Finish();
    // Finishes when that is not done, then renames over the target.
    bool Commit();
    // errno of the first failure.
    int Error() const { return m_error; }
    // The temporary file, for content that another writer puts into it
    // between Finish and Commit; empty when none could be made.
    const std::string& TemporaryPath() const { return m_temporary; }

private:
    bool Fail();

    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
    int m_error = 0;
    mode_t m_mode = 0;
    bool m_hasMode = false;
};

// Files that go together (one of them new beside the others old would be
// read wrongly): every writer committed in the order given, each rename on
// disk before the next, so that a power cut leaves a file new only when
// every one before it is. An end of the process meanwhile
// (RemoveUnfinishedTemporaries, from any thread) waits for the last rename.
// False at the first failure; the writers after it keep their old files.
bool CommitInOrder(const std::vector<AtomicFileWriter*>& writers);

// Host-path form; false with errno set on failure.
bool ReplaceHostFile(const std::string& hostPath, const void* data, size_t size);
// Replaces `hostPath` with everything the descriptor `source` reads, with
// permissions `mode`; false with errno set when the read or the replace fails.
bool ReplaceHostFileFrom(int source, const std::string& hostPath, mode_t mode);
// Device-path form; FALSE with the last error set on failure.
BOOL ReplaceFileContents(LPCWSTR devicePath, const void* data, size_t size);
// For the terminal's own files (its settings, its registry), which an owner
// may keep elsewhere behind a link: the file the link leads to gets the new
// content and the link stays. A file that is no link is replaced as above.
bool ReplaceOwnHostFile(const std::string& hostPath, const void* data, size_t size);
BOOL ReplaceOwnFileContents(LPCWSTR devicePath, const void* data, size_t size);

// Flushes a folder's entries (names made, renamed or removed in it) to disk;
// false with errno set on failure.
bool SyncHostFolder(const std::string& hostFolder);

// Removes temporaries that a crash left beside `hostPath`.
void RemoveStaleTemporaries(const std::string& hostPath);
// The same for every file of a folder.
void RemoveStaleTemporariesIn(const std::string& hostFolder);
// The same for each of `hostPaths`, each folder listed once.
void RemoveStaleTemporariesOf(const std::vector<std::string>& hostPaths);

// Removes the temporaries of every writer not yet committed, for a process
// that ends in the middle of its work: the targets keep their old content.
// A writer whose temporary went fails its Commit.
void RemoveUnfinishedTemporaries();

// Fault injection for tests: called after each stage of every replace.
enum class AtomicStage { Wrote, Flushed, Renamed };
void SetAtomicStageHook(void (*hook)(AtomicStage stage));
