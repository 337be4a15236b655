// Back to the delivered state: the database's content from its delivered
// copy with every user-data table emptied, the in-memory stores and tables
// cleared, the picture folders emptied; and the factory settings.
#pragma once

// The delivered copy (DB\back) put into the open database as its content,
// in one transaction: false, told in a box, when it could not be, and the
// database is then as it was, what its log holds included.
bool PutDeliveredDatabaseInPlace();

// 1; 0, told in a box, when the delivered copy could not be put in place
// or the database refused to be emptied: nothing after the failing step is
// done then (the photos stay, and so do the settings), and the stores in
// memory follow the database.
int ClearAllData();
int RestoreFactoryData();
