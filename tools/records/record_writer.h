// Writing a batch of planned records into the open database's record ring
// in one transaction, the ring's lock taken before it as every writer takes
// them: all the records go in, or none.
#pragma once

#include <string>
#include <vector>

#include "data/DatabaseFailure.h"
#include "data/RecordStore.h"
#include "tools/records/record_plan.h"

// None when every record went in; else why the database refused the batch
// (nothing of it was kept, and the store's counters are the database's).
DatabaseFailure AddPlannedRecords(CRecordStore& store, const std::vector<PlannedRecord>& planned);

// The line that says a batch of `count` records for `root` was refused:
// the cause as the terminal words it, in its language, then that nothing
// was added.
std::string NothingAddedText(DatabaseFailure cause, size_t count, const std::string& root);
