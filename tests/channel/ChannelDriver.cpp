// The product side of the channel tests in a process of its own (channel library
// linked in). One scenario per run; results as "key value" lines on standard output.
//   open NAME SIZE                  open; "opened 1|0", "version V", "openers N"
//   write NAME SIZE HEXBYTES        open, write one block starting with the bytes;
//                                   "write R", "ms T"
//   threads-close NAME              close while the send thread waits for the mutex,
//                                   then open/queue/close in a loop
//   ctrl-c NAME                     open, raise Ctrl+C on the own console, "alive"
//   ctrl-close NAME                 open, call the handler with the console-close event
//   fill-table                      256 opens, one more, then one after a close
//   ctrl-c-monitor                  start KvtLogMonitor on this console, Ctrl+C it
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "channel/ChannelFixture.h"
#include "channel/ChildProcess.h"
#include "common/Handles.h"
#include "core/channel/ComLib.h"
#include "core/channel/ComLibRecord.h"

namespace {

void Print(const char* key, long long value) {
    std::printf("%s %lld\n", key, value);
    std::fflush(stdout);
}

long long Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now() - since)
        .count();
}

int Open(const std::string& name, unsigned long size) {
    HANDLE id = ComLibOpen(name.c_str(), size, 0, 0, 0);
    Print("opened", id != nullptr ? 1 : 0);
    chtest::InfoProbe info(name);
    Print("version", info.Version());
    Print("openers", info.Openers());
    return id != nullptr ? 0 : 1;
}

int Write(const std::string& name, unsigned long size, const std::string& hex) {
    HANDLE id = ComLibOpen(name.c_str(), size, 0, 0, 0);
    if (id == nullptr) {
        Print("opened", 0);
        return 1;
    }
    std::vector<unsigned char> block(size, 0);
    const std::string bytes = chtest::FromHex(hex);
    std::copy(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), size),
              block.begin());
    const auto start = std::chrono::steady_clock::now();
    const int result = ComLibWrite(id, block.data(), size);
    Print("write", result);
    Print("ms", Ms(start));
    return 0;
}

kvt::UniqueKernelHandle Duplicate(HANDLE h) {
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), h, ::GetCurrentProcess(), &copy, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    return kvt::UniqueKernelHandle(copy);
}

DWORD ExitCodeOf(HANDLE thread) {
    DWORD code = 0;
    ::GetExitCodeThread(thread, &code);
    return code;
}

int ThreadsClose(const std::string& name) {
    constexpr unsigned long kSize = 64;
    HANDLE id = ComLibOpen(name.c_str(), kSize, 0, 1, 1);
    comlib::ChannelRecord* record = comlib::FindOpen(id);
    if (record == nullptr) {
        Print("opened", 0);
        return 1;
    }
    kvt::UniqueKernelHandle sendThread = Duplicate(record->sendThread.Get());
    kvt::UniqueKernelHandle rcvThread = Duplicate(record->rcvThread.Get());
    chtest::RawMapping data(name);

    // Someone else holds the channel mutex while the send thread wants it.
    kvt::UniqueKernelHandle mutex(
        ::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, (name + "_MUTEX").c_str()));
    kvt::UniqueKernelHandle held(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([&] {
        ::WaitForSingleObject(mutex.Get(), INFINITE);
        ::SetEvent(held.Get());
        ::Sleep(500);
        ::ReleaseMutex(mutex.Get());
    });
    ::WaitForSingleObject(held.Get(), INFINITE);
    std::vector<unsigned char> block(kSize, 0x5A);
    Print("queued", ComLibQueueSend(id, block.data(), kSize));
    kvt::UniqueKernelHandle rcvEvent(
        ::OpenEventA(EVENT_MODIFY_STATE, FALSE, (name + "_RCV_BUFFER_EVENT").c_str()));
    ::SetEvent(rcvEvent.Get());
    ::Sleep(100);  // the send thread now waits for the mutex

    const auto start = std::chrono::steady_clock::now();
    Print("closed", ComLibClose(id, 0));
    Print("close-ms", Ms(start));
    holder.join();
    Print("send-exit", ExitCodeOf(sendThread.Get()));
    Print("rcv-exit", ExitCodeOf(rcvThread.Get()));
    Print("copied", data.Valid() && data.Bytes()[0] == 0x5A && data.Bytes()[kSize - 1] == 0x5A);

    // Close right after waking the send thread, over and over (reopening the name).
    int rounds = 0;
    for (int i = 0; i < 40; ++i) {
        HANDLE again = ComLibOpen(name.c_str(), kSize, 0, 1, 1);
        block.assign(kSize, static_cast<unsigned char>(i));
        ComLibQueueSend(again, block.data(), kSize);
        rounds += ComLibClose(again, i % 2);
    }
    Print("rounds", rounds);
    return 0;
}

volatile LONG s_probeSaw = -1;

// Registered after the library's handler, so it is asked first; it only watches.
BOOL WINAPI ProbeHandler(DWORD type) {
    s_probeSaw = static_cast<LONG>(type);
    return FALSE;
}

int CtrlC(const std::string& name) {
    ::SetConsoleCtrlHandler(nullptr, FALSE);
    if (ComLibOpen(name.c_str(), 16, 0, 0, 0) == nullptr) {
        Print("opened", 0);
        return 1;
    }
    ::SetConsoleCtrlHandler(&ProbeHandler, TRUE);
    if (!::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
        Print("unsupported", static_cast<long long>(::GetLastError()));
        return 3;
    }
    for (int i = 0; i < 100 && s_probeSaw < 0; ++i) {
        ::Sleep(50);
    }
    ::Sleep(500);  // the default handler would have ended the process by now
    Print("probe", s_probeSaw);
    Print("alive", 1);
    return 0;
}

int CtrlClose(const std::string& name) {
    if (ComLibOpen(name.c_str(), 16, 0, 0, 0) == nullptr) {
        Print("opened", 0);
        return 1;
    }
    Print("ctrl-c", ComLibCtrlHandler(CTRL_C_EVENT));
    Print("ctrl-break", ComLibCtrlHandler(CTRL_BREAK_EVENT));
    ComLibCtrlHandler(CTRL_CLOSE_EVENT);  // closes the channels, ends with 0
    Print("still-running", 1);
    return 5;
}

int FillTable() {
    const std::string base = "fill" + std::to_string(::GetCurrentProcessId()) + "_";
    std::vector<HANDLE> ids;
    for (int i = 0; i < 256; ++i) {
        HANDLE id = ComLibOpen((base + std::to_string(i)).c_str(), 16, 0, 0, 0);
        if (id != nullptr) {
            ids.push_back(id);
        }
    }
    Print("filled", static_cast<long long>(ids.size()));
    Print("one-more", ComLibOpen((base + "x").c_str(), 16, 0, 0, 0) != nullptr);
    Print("closed", ComLibClose(ids[5], 0));
    HANDLE reused = ComLibOpen((base + "y").c_str(), 16, 0, 0, 0);
    Print("after-close", reused != nullptr);
    chtest::InfoProbe old(base + "5");
    Print("old-name-gone", !old.Valid());
    return 0;
}

BOOL WINAPI IgnoreCtrl(DWORD) {
    return TRUE;
}

int CtrlCMonitor() {
    ::SetConsoleCtrlHandler(nullptr, FALSE);
    ::SetConsoleCtrlHandler(&IgnoreCtrl, TRUE);
    chtest::ChildProcess monitor;
    monitor.Start(chtest::Program("KvtLogMonitor"));
    const bool attached = monitor.WaitForErr("[KvtLogMonitor] attached", 30000);
    Print("attached", attached);
    chtest::InfoProbe info("log_smemory");
    Print("openers-before", info.Openers());
    if (!::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
        Print("unsupported", static_cast<long long>(::GetLastError()));
        return 3;
    }
    const bool ended = monitor.WaitForExit(10000);
    Print("ended", ended);
    Print("monitor-exit", monitor.ExitCode());
    Print("stopped-line", monitor.Err().find("[KvtLogMonitor] stopped") != std::string::npos);
    Print("openers-after", info.Openers());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const std::string name = argc > 2 ? argv[2] : "";
    const unsigned long size = argc > 3 ? std::strtoul(argv[3], nullptr, 0) : 0;
    if (mode == "open") {
        return Open(name, size);
    } else if (mode == "write" && argc > 4) {
        return Write(name, size, argv[4]);
    } else if (mode == "threads-close") {
        return ThreadsClose(name);
    } else if (mode == "ctrl-c") {
        return CtrlC(name);
    } else if (mode == "ctrl-close") {
        return CtrlClose(name);
    } else if (mode == "fill-table") {
        return FillTable();
    } else if (mode == "ctrl-c-monitor") {
        return CtrlCMonitor();
    }
    std::fprintf(stderr, "channel_driver: unknown scenario %s\n", mode.c_str());
    return 2;
}
