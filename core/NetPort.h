// The TCP port the terminal listens on (NETPORT) is a port: 1 to 65535.
// A larger value would be cut to its low 16 bits by the socket, and the
// terminal would listen somewhere nobody looks.
#pragma once

inline constexpr int kDefaultNetPort = 5010;

// A NETPORT out of range is told and replaced, for this run, by the
// default; config.xml keeps what it holds.
void KeepNetPortInRange();
