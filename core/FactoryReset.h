// Back to the delivered state: the database file from its delivered copy
// with every user-data table emptied, the in-memory stores and tables
// cleared, the picture folders emptied; and the factory settings.
#pragma once

// 1; 0 when the database could not be opened again (reported).
int ClearAllData();
int RestoreFactoryData();
