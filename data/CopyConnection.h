// A connection on a copy of the database that comes from elsewhere (a
// medium, a PC tool) while the terminal checks it or makes it fit to be
// put in place: it runs none of the file's own SQL, and tells how far long
// statements have come.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/FileConnection.h"
#include "platform/base/types.h"

class CCopyConnection : public CFileConnection {
public:
    CCopyConnection(const std::string& name, int flags);

    // While the statements that follow run, `progress` hears an estimate of
    // how far they have come: `done` of a `total` taken as
    // `instructionsPerKiB` for each 1024 bytes of the file (work that goes
    // by rows is about as much per byte whatever the page size), often
    // enough to keep a bar moving and a watchdog fed; the estimate stops
    // at its total. False when the file's size cannot be read.
    bool OnProgress(ULONGLONG instructionsPerKiB, std::function<void(ULONGLONG done, ULONGLONG total)> progress);
    // Every row, its columns as texts (NULL as empty); false when the
    // statement fails, also midway.
    bool Rows(const std::string& sql, std::vector<std::vector<std::string>>& rows) const;
    // Column 0 of the single row of `sql`; false unless exactly one came.
    bool Value(const std::string& sql, std::string& value) const;
    bool Run(const char* sql) const;

private:
    static int Step(void* connection);

    std::function<void()> m_step;
};
