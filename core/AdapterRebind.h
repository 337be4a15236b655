// The request, sent to the network driver "NDS0:", that makes the network
// stack rebind an adapter so that it takes its new TCP/IP values. The input
// is the adapter name, terminated.
#pragma once

#ifndef IOCTL_NDIS_REBIND_ADAPTER
#define IOCTL_NDIS_REBIND_ADAPTER 0x00170020u
#endif
