#include "platform/dev/winsock.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

int WSAStartup(WORD version, LPWSADATA data) {
    // A peer that goes away must not end the program on its next send.
    std::signal(SIGPIPE, SIG_IGN);
    if (data) {
        data->wVersion = version;
        data->wHighVersion = version;
    }
    return 0;
}

int WSACleanup() { return 0; }

int WSAGetLastError() { return errno; }

int closesocket(SOCKET socket) { return close(socket); }
