// What an export cut by a power failure leaves on the media it writes to.
#pragma once

// Removes the temporaries of the export's files (Bak.yg2, Bak.zw, Bak.kq)
// from the transfer folder on the flash and on each medium present, so that
// a medium taken out after a power cut carries no half-written file. Only
// those: every other file there stays. Start-up calls it.
void RemoveExportLeftovers();
