// The soak: a station's day against the simulated camera. Thousands of cycles, each
// KVT_OpenDevice, event procedures, a monitor session with reads and dumps, a property
// loaded into a file and saved from one, release and transfer and KVT_CloseDevice
// (SoakCycle.h), every few cycles with a transport fault injected at a random call
// position. At intervals it prints the process's handle count, private memory and the
// log's size; at the end how far they moved after warm-up, and every problem seen.
//
//   kvt_soak [cycles=10000] [report every=500] [seed=1] [fast] [keep]
//
// It lays out a deploy-like folder below the current directory, copies itself there
// and runs the cycles in a child process there ("fast": with KVT_FAST_LOG=1; "keep"
// leaves the folder). The child reports on standard error, which goes to this
// program's output; the libraries' own standard output lines are discarded. Exit code 0 when every injected fault gave an odd code and an
// "[ERR!]" line, no operation failed without a fault, and handles and memory stayed
// flat; 1 otherwise; 4 when a cycle hung (no progress for five minutes).
#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

#include "common/Handles.h"
#include "common/Win32.h"
#include "robustness/DriverContext.h"
#include "support/ProcessStart.h"
#include "support/TestSupport.h"
#include "tests/robustness/RobustFolder.h"
#include "tools/bench/SoakCycle.h"
#include "tools/bench/SoakFigures.h"

namespace {

// After warm-up (the first report), handles, private memory and the heap's bytes in use
// may move this much.
constexpr unsigned kHandleBound = 8;
constexpr std::uint64_t kPrivateBound = 4u * 1024 * 1024;
constexpr std::uint64_t kHeapBound = 64u * 1024;
constexpr unsigned kFaultEvery = 3;   // about one cycle in three carries a fault
constexpr int kHangSeconds = 300;

struct Settings {
    unsigned long cycles = 10000;
    unsigned long every = 500;
    unsigned long seed = 1;
};

void Report(const Settings& s, const kvtsoak::Tally& t, const kvtsoak::Figures& f, double secondsPerCycle) {
    // The system's own private-bytes figure where it has one (Wine reports none).
    const std::string system =
        f.privateUsage != 0 ? " (system " + kvtsoak::Megabytes(f.privateUsage) + ")" : std::string();
    std::fprintf(stderr, "cycle %6lu/%lu  handles %4u  private %s%s  heap in use %llu bytes  log %s"
                "  faults %lu (%lu judged)  unexpected %lu  %.3f s/cycle\n",
                t.cycles, s.cycles, f.handles, kvtsoak::Megabytes(f.privateBytes).c_str(), system.c_str(),
                static_cast<unsigned long long>(f.heapBytes), kvtsoak::Megabytes(f.logBytes).c_str(), t.faults,
                t.faultsJudged, t.unexpected, secondsPerCycle);
}

int RunCycles(const Settings& s) {
    robust::DriverContext ctx;
    ctx.folder = kvttest::CurrentDir();
    if (!robust::LoadLibraries(ctx)) {
        return 3;
    }
    kvtsoak::Station station(ctx);
    std::string error;
    if (!station.Record(error)) {
        std::fprintf(stderr, "the clean cycle failed: %s\n", error.c_str());
        return 1;
    }

    // A cycle that makes no progress for minutes is a hang: say where, and end.
    std::atomic<unsigned long> progress{0};
    std::thread([&progress, &station] {
        unsigned long seen = progress.load();
        auto since = std::chrono::steady_clock::now();
        for (;;) {
            std::this_thread::sleep_for(std::chrono::seconds(5));
            const unsigned long now = progress.load();
            if (now != seen) {
                seen = now;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since > std::chrono::seconds(kHangSeconds)) {
                std::fprintf(stderr, "HANG: no progress for %d s in cycle %lu, operation %s\n", kHangSeconds,
                             now + 1, station.Current());
                ::TerminateProcess(::GetCurrentProcess(), 4);
            }
        }
    }).detach();

    std::mt19937 random(s.seed);
    kvtsoak::Tally tally;
    kvtsoak::Trend trend;
    const kvtsoak::Figures start = kvtsoak::Measure();
    std::fprintf(stderr, "start  handles %u  private %s  heap in use %llu bytes  log %s\n", start.handles,
                 kvtsoak::Megabytes(start.privateBytes).c_str(), static_cast<unsigned long long>(start.heapBytes),
                 kvtsoak::Megabytes(start.logBytes).c_str());
    auto lastReport = std::chrono::steady_clock::now();
    for (unsigned long c = 1; c <= s.cycles; ++c) {
        station.RunCycle(random, random() % kFaultEvery == 0, tally);
        progress.store(c);
        if (c % s.every == 0 || c == s.cycles) {
            const kvtsoak::Figures f = kvtsoak::Measure();
            const auto now = std::chrono::steady_clock::now();
            const unsigned long done = c % s.every == 0 ? s.every : c % s.every;
            Report(s, tally, f, std::chrono::duration<double>(now - lastReport).count() / done);
            lastReport = now;
            trend.Add(f);   // the first report closes the warm-up
        }
    }
    const bool flat = trend.HandleSpread() <= kHandleBound && trend.PrivateSpread() <= kPrivateBound &&
                      trend.HeapSpread() <= kHeapBound;
    const bool judged = tally.faults == tally.faultsJudged && tally.unexpected == 0;
    std::fprintf(stderr,
                 "after warm-up: handles moved %u (growth %+lld), private memory moved %s (growth %+lld bytes),"
                 " heap in use moved %llu bytes (growth %+lld)\n",
                 trend.HandleSpread(), trend.HandleGrowth(), kvtsoak::Megabytes(trend.PrivateSpread()).c_str(),
                 trend.PrivateGrowth(), static_cast<unsigned long long>(trend.HeapSpread()), trend.HeapGrowth());
    std::fprintf(stderr, "%lu cycles, %lu operations, %lu faults injected and reached, %lu with an odd code and [ERR!],"
                " %lu not reached, %lu unexpected failures\n",
                tally.cycles, tally.operations, tally.faults, tally.faultsJudged, tally.unreached, tally.unexpected);
    for (const std::string& p : tally.problems) {
        std::fprintf(stderr, "  %s\n", p.c_str());
    }
    std::fprintf(stderr, "%s\n", flat && judged ? "SOAK PASSED" : "SOAK FAILED");
    return flat && judged ? 0 : 1;
}

unsigned long Number(int argc, char** argv, int i, unsigned long fallback) {
    return i < argc && std::isdigit(static_cast<unsigned char>(argv[i][0])) ? std::strtoul(argv[i], nullptr, 10)
                                                                             : fallback;
}

bool Flag(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == name) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const bool child = argc >= 2 && std::string(argv[1]) == "--run";
    const int first = child ? 2 : 1;
    Settings s;
    s.cycles = Number(argc, argv, first, s.cycles);
    s.every = std::max(1ul, Number(argc, argv, first + 1, s.every));
    s.seed = Number(argc, argv, first + 2, s.seed);
    if (child) {
        return RunCycles(s);
    }
    const robusttest::RobustFolder folder("soak");
    const std::string self = folder.Path() + "kvt_soak.exe";
    if (!kvttest::CopyFileTo(kvttest::BinDir() + "kvt_soak.exe", self)) {
        std::printf("cannot lay out %s\n", folder.Path().c_str());
        return 1;
    }
    const bool fast = Flag(argc, argv, "fast");
    std::printf("soak: %lu cycles, figures every %lu, seed %lu, %s log, in %s\n", s.cycles, s.every, s.seed,
                fast ? "fast" : "default", folder.Path().c_str());
    std::fflush(stdout);
    ::SetEnvironmentVariableA("KVT_FAST_LOG", fast ? "1" : nullptr);
    // The cycles' reports (their standard error) go to our output as they come.
    kvt::UniqueFile discard(::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    const std::string command = "\"" + self + "\" --run " + std::to_string(s.cycles) + " " +
                                std::to_string(s.every) + " " + std::to_string(s.seed);
    DWORD code = 1;
    try {
        kvttest::StartedProcess run = kvttest::StartProcess(
            command, folder.Path(),
            {::GetStdHandle(STD_INPUT_HANDLE), discard.Get(), ::GetStdHandle(STD_OUTPUT_HANDLE)});
        ::WaitForSingleObject(run.Process(), INFINITE);
        ::GetExitCodeProcess(run.Process(), &code);
    } catch (const kvttest::HarnessFailure& failure) {
        std::printf("%s\n", failure.what());
    }
    std::printf("soak: exit code %lu\n", code);
    kvttest::KeepOrRemoveFolder(folder.Path(), Flag(argc, argv, "keep"));
    return static_cast<int>(code);
}
