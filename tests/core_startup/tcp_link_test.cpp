// The TCP server link under a burst of connections: every connect completes
// at once (no SYN retried after a full accept queue), each is accepted, and
// the newest replaces the ones before it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "comm/TcpServerLink.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClients = 20;

// Drives the link as the communication thread does, until stopped.
class LinkDriver {
public:
    explicit LinkDriver(CTcpServerLink& link)
        : m_thread([this, &link] {
              BYTE buffer[64];
              while (!m_stop) link.Read(buffer, sizeof buffer);
          }) {}
    ~LinkDriver() {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

SOCKET StartConnect(int port) {
    const SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    fcntl(client, F_SETFL, fcntl(client, F_GETFL) | O_NONBLOCK);
    SOCKADDR_IN address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    connect(client, reinterpret_cast<SOCKADDR*>(&address), sizeof address);
    return client;
}

// Waits until `needed` of the sockets show `events`; the time each took
// (max for those that did not).
std::vector<Clock::duration> WaitFor(const std::vector<SOCKET>& sockets, size_t needed, short events,
                                     Clock::duration limit) {
    const auto start = Clock::now();
    std::vector<Clock::duration> took(sockets.size(), Clock::duration::max());
    for (size_t done = 0; done < needed && Clock::now() - start < limit;) {
        std::vector<pollfd> waiting;
        for (size_t i = 0; i < sockets.size(); ++i)
            if (took[i] == Clock::duration::max()) waiting.push_back(pollfd{sockets[i], events, 0});
        poll(waiting.data(), waiting.size(), 10);
        for (const pollfd& ready : waiting) {
            if (!ready.revents) continue;
            for (size_t i = 0; i < sockets.size(); ++i)
                if (sockets[i] == ready.fd) took[i] = Clock::now() - start;
            ++done;
        }
    }
    return took;
}

TEST(TcpServerLink, ABurstOfTwentyConnectsIsAcceptedAtOnceAndTheNewestStays) {
    CTcpServerLink link(0);
    ASSERT_TRUE(link.Open());
    LinkDriver driver(link);

    std::vector<SOCKET> clients;
    for (int i = 0; i < kClients; ++i) clients.push_back(StartConnect(link.Port()));
    // A connect that met a full queue is retried by the client after a second.
    const auto connected = WaitFor(clients, clients.size(), POLLOUT, std::chrono::seconds(5));
    for (int i = 0; i < kClients; ++i) {
        int error = -1;
        socklen_t length = sizeof error;
        getsockopt(clients[i], SOL_SOCKET, SO_ERROR, &error, &length);
        EXPECT_EQ(error, 0) << "client " << i;
        EXPECT_LT(connected[i], std::chrono::milliseconds(500)) << "client " << i;
        tcp_info info{};
        length = sizeof info;
        ASSERT_EQ(getsockopt(clients[i], IPPROTO_TCP, TCP_INFO, &info, &length), 0);
        EXPECT_EQ(info.tcpi_total_retrans, 0u) << "client " << i << " sent its connect again";
    }

    // Each was accepted: all but the newest were closed by the link as the
    // next came in, so they read the end of the stream.
    const auto ended = WaitFor(clients, clients.size() - 1, POLLIN, std::chrono::seconds(3));
    std::vector<SOCKET> open;
    for (int i = 0; i < kClients; ++i) {
        BYTE byte;
        if (ended[i] == Clock::duration::max() || recv(clients[i], &byte, 1, 0) != 0) open.push_back(clients[i]);
    }
    ASSERT_EQ(open.size(), 1u);
    ASSERT_TRUE(link.HasClient());
    const BYTE hello[] = {0xA5, 0x01};
    EXPECT_EQ(link.Write(hello, sizeof hello), 1);
    BYTE got[2] = {};
    ASSERT_LT(WaitFor(open, 1, POLLIN, std::chrono::seconds(2))[0], Clock::duration::max());
    EXPECT_EQ(recv(open[0], got, sizeof got, 0), 2);
    EXPECT_EQ(got[1], 0x01);
    for (const SOCKET client : clients) closesocket(client);
}

}  // namespace
