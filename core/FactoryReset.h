// Back to the delivered state: the database file from its delivered copy
// with every user-data table emptied, the in-memory stores and tables
// cleared, the picture folders emptied; and the factory settings.
#pragma once

// 1; 0, told in a box, when the delivered copy could not be put in place,
// the database could not be opened again, or it refused to be emptied:
// nothing after the failing step is done then (the photos stay, and so do
// the settings), and the stores in memory follow the database file.
int ClearAllData();
int RestoreFactoryData();
