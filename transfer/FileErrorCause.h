// The one-button message for a file error of the backup, restore and update
// copies, by the error's cause. The texts are fixed (not translated).
#pragma once

// `cause`: a CFileException cause.
void ShowFileErrorCause(int cause);
