// Fixture of the deterministic status engine tests: fake clock, network, resolver, thread and host.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "catalogue/profiles.h"
#include "net/status_engine.h"
#include "testing/fake_clock.h"
#include "testing/fake_datagram_socket.h"
#include "testing/fake_message_sink.h"
#include "testing/fake_status_host.h"
#include "testing/fake_thread_starter.h"

namespace engine_test {

using catalogue::ServerRecord;
using testing_support::MakeEndpoint;
using Strings = std::vector<std::string>;

class EngineTest : public ::testing::Test {
  protected:
    explicit EngineTest(uint64_t frequency = 1000000, uint32_t tickStart = 0)
        : clock(frequency, tickStart), network(&clock), host(profile.servers) {
        profile.kind = catalogue::kQuake3;
        engine = std::make_unique<net::StatusEngine>(
            net::StatusEngineDeps{host, clock, network, resolver, threads, messages, refreshBusy});
    }

    void SetKind(uint32_t kind) { profile.kind = host.kind = kind; }
    // Appends a server never answered, as a master query would.
    ServerRecord* Add(const char* address, uint32_t port = 27960) {
        auto r = std::make_unique<ServerRecord>();
        base::CopyText(r->addressText, address);
        r->port = port;
        base::CopyText(r->hostName, "~ New Server!");
        ServerRecord* raw = r.get();
        catalogue::appendServer(profile.servers, std::move(r));
        return raw;
    }
    // n servers 10.0.<i/250>.<i%250 + 1>, port 27960.
    std::vector<ServerRecord*> AddMany(int n) {
        std::vector<ServerRecord*> all;
        for (int i = 0; i < n; ++i) {
            char address[20];
            std::snprintf(address, sizeof address, "10.0.%d.%d", i / 250, i % 250 + 1);
            all.push_back(Add(address));
        }
        return all;
    }
    static std::string StatusReply(const char* name) {
        return std::string("\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\") + name + "\\mapname\\q3dm17\n";
    }
    void Reply(const ServerRecord* r, const std::string& bytes) {
        network.Deliver(MakeEndpoint(r->addressText, static_cast<uint16_t>(r->port)), bytes);
    }
    void ReplyName(const ServerRecord* r, const char* name) { Reply(r, StatusReply(name)); }
    // The worker runs to its end and the user-interface thread hears of it.
    void RunWorker() {
        ASSERT_TRUE(threads.HasPendingWorker());
        threads.RunWorker();
        engine->OnWorkerFinished();
    }
    // Timer 2 expires (it must be armed).
    void FireTimer() {
        ASSERT_TRUE(host.timerMs.has_value());
        clock.AdvanceMs(*host.timerMs);
        engine->OnCloseTimer();
    }
    // The states of the four refresh commands: 'e' enabled, 'i' indeterminate.
    std::string Toolbar() {
        std::string out;
        for (int command :
             {net::kCmdRefreshServerList, net::kCmdGetMasterList, net::kCmdRefreshSelected, net::kCmdStopRefresh})
            out +=
                host.toolbar.count(command) ? (host.toolbar[command] == net::ToolbarState::kEnabled ? 'e' : 'i') : '-';
        return out;
    }
    // Where the datagrams went, in order, as "a.b.c.d:port".
    Strings SentTargets() {
        Strings out;
        for (auto& d : network.Sent()) {
            const uint8_t* b = reinterpret_cast<const uint8_t*>(&d.to.addressNetworkOrder);
            out.push_back(std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
                          std::to_string(b[3]) + ":" + std::to_string(d.to.port));
        }
        return out;
    }

    catalogue::GameProfile profile;
    testing_support::FakeClock clock;
    testing_support::FakeDatagramSocketFactory network;
    testing_support::FakeResolver resolver;
    testing_support::FakeThreadStarter threads;
    testing_support::FakeMessageSink messages;
    bool refreshBusy = false;
    testing_support::FakeStatusHost host;
    std::unique_ptr<net::StatusEngine> engine;
};

}  // namespace engine_test
