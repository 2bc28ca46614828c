// The status socket's two ways of waiting: select wakes at a datagram and times out without one;
// polling pauses a millisecond at most and leaves the reading to the caller. And the owners of the
// handle kinds whose failure value is not zero.
#include <gtest/gtest.h>

#include "base/win32/handles.h"
#include "net/win32/socket_owner.h"
#include "net/win32/win32_network.h"

namespace {

using net::win32::SocketWait;

class DatagramSocketTest : public ::testing::TestWithParam<SocketWait> {
  protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    }
    void TearDown() override { WSACleanup(); }
};

TEST(HandleOwners, LeaveTheFailureValueAloneAndCloseWhatTheyHold) {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    base::win32::FileHandle missing(
        CreateFileA("Z:\\no\\such\\folder\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Release(), INVALID_HANDLE_VALUE);
    net::win32::OwnedSocket none;
    EXPECT_FALSE(none);
    EXPECT_EQ(none.get(), INVALID_SOCKET);
    net::win32::OwnedSocket held(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    ASSERT_TRUE(held);
    const SOCKET raw = held.get();
    net::win32::OwnedSocket moved(std::move(held));
    EXPECT_FALSE(held);
    moved.Reset();
    int type = 0, length = sizeof type;
    EXPECT_EQ(getsockopt(raw, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &length), SOCKET_ERROR);
    WSACleanup();
}

TEST_P(DatagramSocketTest, WaitsAndReadsEveryDatagram) {
    net::win32::Win32DatagramSocketFactory factory(GetParam());
    auto receiver = factory.Open();
    auto sender = factory.Open();
    ASSERT_TRUE(receiver && sender);
    auto* rx = static_cast<net::win32::Win32DatagramSocket*>(receiver.get());
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(rx->handle(), reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    int length = sizeof local;
    ASSERT_EQ(getsockname(rx->handle(), reinterpret_cast<sockaddr*>(&local), &length), 0);

    char buffer[64];
    const DWORD start = GetTickCount();
    const bool woke = receiver->WaitReadable(200);
    const DWORD waited = GetTickCount() - start;
    if (GetParam() == SocketWait::kSelect)
        EXPECT_TRUE(!woke && waited >= 150) << waited;
    else
        EXPECT_TRUE(woke && waited < 100) << waited;
    EXPECT_LT(receiver->ReceiveFrom(buffer, sizeof buffer, nullptr), 0);

    const net::Endpoint to = net::win32::FromSockaddr(local);
    ASSERT_TRUE(sender->SendTo(to, "one", 3) && sender->SendTo(to, "two!", 4));
    int got = -1;
    for (DWORD t = GetTickCount(); got < 0 && GetTickCount() - t < 2000;) {
        if (receiver->WaitReadable(100))
            got = receiver->ReceiveFrom(buffer, sizeof buffer, nullptr);
    }
    EXPECT_EQ(got, 3);
    EXPECT_EQ(receiver->ReceiveFrom(buffer, sizeof buffer, nullptr), 4);
    EXPECT_LT(receiver->ReceiveFrom(buffer, sizeof buffer, nullptr), 0);
}

INSTANTIATE_TEST_SUITE_P(Waits, DatagramSocketTest, ::testing::Values(SocketWait::kSelect, SocketWait::kPoll));

}  // namespace
