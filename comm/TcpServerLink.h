// The TCP server link: the terminal listens on NETPORT and talks to the one
// management client connected to it; a newer client replaces the older.
#pragma once

#include <atomic>

#include "comm/CommLink.h"
#include "platform/dev/winsock.h"

class CTcpServerLink : public CCommLink {
public:
    explicit CTcpServerLink(int port) : m_port(port) {}
    ~CTcpServerLink() override;

    BOOL Open() override;
    int Read(BYTE* buffer, int size) override;
    int Write(const BYTE* data, int length) override;
    void Close() override;

    // The port actually listened on (the given one, or the system's choice
    // for 0).
    int Port() const { return m_port; }
    bool HasClient() const { return m_client != INVALID_SOCKET; }

private:
    // Takes the waiting clients, if any, without blocking; the newest stays.
    void AcceptWaiting();

    int m_port;
    SOCKET m_listener = INVALID_SOCKET;
    std::atomic<SOCKET> m_client{INVALID_SOCKET};
};
