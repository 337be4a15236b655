// Winsock: the TCP links of the terminal. The calls that Winsock shares with
// the BSD sockets (socket, bind, listen, accept, connect, send, recv,
// select, setsockopt, the byte-order helpers) are the host's own; this adds
// what only Winsock has.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>

#include "platform/base/types.h"

typedef int SOCKET;
#define INVALID_SOCKET (-1)
#define SOCKET_ERROR (-1)

struct WSADATA {
    WORD wVersion;
    WORD wHighVersion;
};
typedef WSADATA* LPWSADATA;
typedef sockaddr_in SOCKADDR_IN;
typedef sockaddr SOCKADDR;

int WSAStartup(WORD version, LPWSADATA data);
int WSACleanup();
int WSAGetLastError();
int closesocket(SOCKET socket);
