// The network driver "NDS0:": the application asks it to rebind an adapter
// after changing the adapter's TCP/IP values in the registry
// (HKLM\Comm\<adapter>\Parms\TcpIp). The stand-in takes the values the
// adapter would now use and keeps them; the journal (kind "network") tells
// of each rebind.
#pragma once

#include <map>
#include <string>

#include "platform/base/types.h"

#ifndef IOCTL_NDIS_REBIND_ADAPTER
#define IOCTL_NDIS_REBIND_ADAPTER 0x00170020u
#endif

struct AdapterState {
    int rebinds = 0;
    // The adapter's TCP/IP values at its last rebind, by value name; text
    // values as stored, multi-strings joined with ',', numbers in decimal.
    std::map<std::u16string, std::u16string> tcpip;
};

// The state of an adapter by name (any case); empty for one never rebound.
AdapterState NetworkAdapterState(const std::u16string& adapter);
