#include "comm/TcpServerLink.h"

#include <cstdio>

#include "core/DebugPrint.h"

namespace {

// True when the socket has something to read within `ms`.
bool Readable(SOCKET socket, DWORD ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval wait{static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
    return select(socket + 1, &set, nullptr, nullptr, &wait) > 0;
}

void CloseSocket(SOCKET& socket) {
    if (socket == INVALID_SOCKET) return;
    closesocket(socket);
    socket = INVALID_SOCKET;
}

}  // namespace

CTcpServerLink::~CTcpServerLink() { Close(); }

BOOL CTcpServerLink::Open() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    // Close-on-exec: a restarted terminal must be able to listen on the port
    // itself, not inherit a listener nobody serves.
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (m_listener == INVALID_SOCKET) return FALSE;
    const int reuse = 1;
    setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    SOCKADDR_IN address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<uint16_t>(m_port));
    if (bind(m_listener, reinterpret_cast<SOCKADDR*>(&address), sizeof address) == SOCKET_ERROR ||
        listen(m_listener, SOMAXCONN) == SOCKET_ERROR) {
        DebugPrint(u"TCP server cannot listen on port %d", m_port);
        std::fprintf(stderr, "quillon: the TCP server cannot listen on port %d\n", m_port);
        CloseSocket(m_listener);
        return FALSE;
    }
    socklen_t length = sizeof address;
    getsockname(m_listener, reinterpret_cast<SOCKADDR*>(&address), &length);
    m_port = ntohs(address.sin_port);
    return TRUE;
}

void CTcpServerLink::AcceptWaiting() {
    // Every waiting connection is taken; each replaces the one before.
    while (m_listener != INVALID_SOCKET && Readable(m_listener, 0)) {
        const SOCKET client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client == INVALID_SOCKET) return;
        SOCKET old = m_client.exchange(client);
        CloseSocket(old);
    }
}

int CTcpServerLink::Read(BYTE* buffer, int size) {
    AcceptWaiting();
    SOCKET client = m_client;
    if (client == INVALID_SOCKET) {
        if (m_listener != INVALID_SOCKET) Readable(m_listener, TimeOut());
        return 0;
    }
    if (!Readable(client, TimeOut())) return 0;
    const ssize_t n = recv(client, buffer, static_cast<size_t>(size), 0);
    if (n > 0) return static_cast<int>(n);
    // The client has gone.
    if (m_client.compare_exchange_strong(client, INVALID_SOCKET)) closesocket(client);
    return 0;
}

int CTcpServerLink::Write(const BYTE* data, int length) {
    const SOCKET client = m_client;
    if (client == INVALID_SOCKET) return 0;
    int sent = 0;
    while (sent < length) {
        const ssize_t n = send(client, data + sent, static_cast<size_t>(length - sent), 0);
        if (n <= 0) return 0;
        sent += static_cast<int>(n);
    }
    return 1;
}

void CTcpServerLink::Close() {
    SOCKET client = m_client.exchange(INVALID_SOCKET);
    CloseSocket(client);
    CloseSocket(m_listener);
}
