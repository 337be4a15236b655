#include "core/WriteFailureBox.h"

#include "core/ShowMessage.h"

void CWriteFailureBox::Show() const { ShowMessage(DatabaseWriteFailedText(m_failure), 0); }
