// Asks the running communication link to rebuild itself with the current
// settings; nothing happens while no link is active.
#pragma once

void RequestLinkRestart(void* window);
