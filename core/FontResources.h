// The font files listed under FontResourceList of config.xml, added to and
// removed from the system's font table.
#pragma once

int LoadFontResources();
int UnloadFontResources();
