// The product side of the CStateMonitor tests: a process linking Corvane.
//   syncwrite TEXT...          GetInstance, then SyncWrite each text; "ms T" per text
//   syncwrite-hex HEX          the same with one text given as hex bytes
//   long N AT                  SyncWrite of an N-byte text of 'a's with "0123456789" at AT
//   blocked NAME               a mutex named NAME makes the channel NAME impossible:
//                              GetInstance fails; then, with NAME freed, succeeds
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "channel/ChannelFixture.h"
#include "common/Handles.h"
#include "core/channel/StateMonitor.h"

namespace {

long long Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now() - since)
        .count();
}

void TimedSyncWrite(const std::string& text) {
    const auto start = std::chrono::steady_clock::now();
    CStateMonitor::GetInstance().SyncWrite(text.c_str());
    std::printf("ms %lld\n", Ms(start));
    std::fflush(stdout);
}

// "ok" or "fail <code> <message>" for one GetInstance.
void TryGetInstance() {
    try {
        CStateMonitor::GetInstance();
        std::puts("instance ok");
    } catch (CException* e) {
        std::printf("instance fail %lu %s\n", e->Code(), e->Message().c_str());
        delete e;
    } catch (...) {
        std::puts("instance fail other");
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "syncwrite") {
        CStateMonitor::GetInstance();
        for (int i = 2; i < argc; ++i) {
            TimedSyncWrite(argv[i]);
        }
        return 0;
    } else if (mode == "syncwrite-hex" && argc > 2) {
        TimedSyncWrite(chtest::FromHex(argv[2]));
        return 0;
    } else if (mode == "long" && argc > 3) {
        std::string text(std::strtoul(argv[2], nullptr, 10), 'a');
        text.replace(std::strtoul(argv[3], nullptr, 10), 10, "0123456789");
        TimedSyncWrite(text);
        return 0;
    } else if (mode == "blocked" && argc > 2) {
        {
            kvt::UniqueKernelHandle blocker(::CreateMutexA(nullptr, FALSE, argv[2]));
            TryGetInstance();
        }
        TryGetInstance();
        CStateMonitor::GetInstance().SyncWrite("after retry");
        return 0;
    } else if (mode == "null") {
        CStateMonitor::GetInstance().SyncWrite(nullptr);
        std::puts("null ok");
        return 0;
    }
    std::fprintf(stderr, "state_monitor_driver: unknown scenario %s\n", mode.c_str());
    return 2;
}
