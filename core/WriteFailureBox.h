// A write a person asked for (a delete, a save), and the box that tells
// its failure. While the write runs, a statement that fails shows no box
// of its own; when the caller finds the write failed, Show tells it every
// time, in one box, with the database's cause in words and that the change
// was not saved. (The database's own box tells a lasting cause only once;
// a person who asked for a change must hear each time that it did not
// happen.)
#pragma once

#include "data/DbSqlite.h"

class CWriteFailureBox {
public:
    // Runs `write` and gives what it returns.
    template <class Write>
    auto Run(Write&& write) {
        CQuietStatementErrors quiet;
        auto result = write();
        m_failure = quiet.Failure();
        return result;
    }
    void Show() const;

private:
    DatabaseFailure m_failure = DatabaseFailure::None;
};
