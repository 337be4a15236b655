#include "core/LinkRestart.h"

// No communication link exists in this build yet, so there is none to restart.
void RequestLinkRestart(void* /*window*/) {}
