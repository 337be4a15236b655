// A flash or a medium with little room left, as SQLite meets it: while one
// lives, writes of SQLite connections that would grow the files below a
// host folder by more than the room left in all fail as on a full disk
// (SQLITE_FULL), and nothing of them is written; a file they cut short
// gives its room back. Files written otherwise (the platform's copies) are
// not counted. Or a medium whose writes fail (SQLITE_IOERR_WRITE). The live database is opened
// again at both ends, so that its connection writes through it meanwhile.
#pragma once

#include <cstdint>
#include <string>

class FullFlash {
public:
    // Room without end until LeaveFree.
    explicit FullFlash(const std::string& hostFolder);
    ~FullFlash();
    FullFlash(const FullFlash&) = delete;
    FullFlash& operator=(const FullFlash&) = delete;

    static void LeaveFree(int64_t bytes);
    // Whether a write was refused.
    static bool Refused();
    // The room left.
    static int64_t Free();
    // From now on every write below the folder fails as a read-write
    // error of the medium.
    static void BreakWrites();
};
