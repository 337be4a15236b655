// What the program keeps in memory from the database.
#pragma once

// Everything the program keeps in memory from the database, taken from it
// again after its content was replaced: the fingerprint templates, the user
// and department counts, the record ring's counters, the bells, the access
// groups and the access time zones.
void ReloadDatabaseCaches();
