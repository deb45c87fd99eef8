// Benchmark of single calls through the factory API library against the bare work they
// do, measured in the same process:
//   - KVT_ExecuteEventProcS of a one-property procedure ("GetLanguage": one property
//     read), in calls per second, against its transport calls replayed directly
//     (TransportReplay.h) and, beside them, the two named-block accesses every event
//     procedure call makes;
//   - KVT_MonitorReadMemory of 64 KiB with its data dump to the log, in milliseconds,
//     against its transport calls and against the dump's text formatted in one buffer
//     (the log's own formatting) and written with one file write;
// and, to show where the time goes, the cost of one log commit (the file opened,
// locked, appended to and closed) and the commits each call makes.
//
// Both log modes are measured, each in a child process of its own: the default, and
// the fast log (KVT_FAST_LOG=1; its rows are marked "fast log").
//
// Run it with wine64 from any folder: it lays out a deploy-like folder there (the
// library as "oxrmsg.dll", Corvane.dll, the simulated camera, Pellor.q517), copies
// itself into it and measures in child processes there. Output: "BENCH name|value|
// unit|baseline|baseline value" lines for scripts/bench.sh, and "INFO" lines.
//
//   kvt_call_bench [keep]    ("keep" leaves the folder)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "common/LogBatch.h"
#include "common/LogDump.h"
#include "common/LogFile.h"
#include "common/SharedMemory.h"
#include "common/Win32.h"
#include "include/kvt_factory.h"
#include "support/SimCamera.h"
#include "support/TestSupport.h"
#include "tests/robustness/RobustFolder.h"
#include "tools/bench/TransportReplay.h"

namespace {

constexpr int kRounds = 5;
constexpr unsigned kExecCalls = 400;
constexpr unsigned kReadSize = 64 * 1024;
constexpr int kReadRounds = 2;

template <class Fn>
Fn Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// The best time of `rounds` runs of `body`, in milliseconds; negative when it fails.
template <class Body>
double Best(int rounds, Body&& body) {
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        const double start = kvttest::Milliseconds();
        if (!body()) {
            return -1;
        }
        best = std::min(best, kvttest::Milliseconds() - start);
    }
    return best;
}

// The log's lines (each written with a commit of its own, or a few with one).
unsigned LogLines() {
    const std::string log = kvttest::ReadFileBytes("KvtDll.log");
    return static_cast<unsigned>(std::count(log.begin(), log.end(), '\n'));
}

kvt::UniqueFile OpenCommitFile() {
    return kvt::UniqueFile(::CreateFileA("commits.log", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// One append as the log writer makes it: lock the append position, seek to the end,
// write a byte's text ("00 "), unlock.
void AppendLikeCommit(HANDLE file) {
    OVERLAPPED at{};
    at.OffsetHigh = 0x7FFFFFFF;
    ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at);
    LARGE_INTEGER end{};
    ::SetFilePointerEx(file, end, nullptr, FILE_END);
    DWORD written = 0;
    ::WriteFile(file, "00 ", 3, &written, nullptr);
    ::UnlockFileEx(file, 0, 1, 0, &at);
}

// `count` commits the way the log writer makes them, the file opened and closed for
// each; or, with keepOpen, the same appends through one handle.
bool LogLikeCommits(unsigned count, bool keepOpen) {
    kvt::UniqueFile kept;
    if (keepOpen) {
        kept = OpenCommitFile();
    }
    for (unsigned i = 0; i < count; ++i) {
        kvt::UniqueFile own;
        if (!keepOpen) {
            own = OpenCommitFile();
        }
        HANDLE file = keepOpen ? kept.Get() : own.Get();
        if (file == nullptr || file == INVALID_HANDLE_VALUE) {
            return false;
        }
        AppendLikeCommit(file);
    }
    return true;
}

void Bench(const char* name, double value, const char* unit, const char* baseline, double baseValue) {
    std::printf("BENCH %s|%.3f|%s|%s|%.3f\n", name, value, unit, baseline, baseValue);
}

// One operation against its own transport calls replayed directly: milliseconds per
// operation and per replay (best of `rounds`), and what one operation makes. With
// `beside`, also the replay followed by `beside()` (other bare work of the operation).
struct Measured {
    double ms = 0;
    double replayMs = 0;
    double besideMs = 0;
    unsigned lines = 0;      // log lines it writes
    std::size_t calls = 0;   // transport calls it makes
};

template <class Op, class Beside>
bool MeasureAgainstReplay(kvttest::SimCamera& sim, Op&& op, unsigned repeat, unsigned replayRepeat,
                          int rounds, Beside&& beside, Measured& out) {
    op();   // warm-up
    sim.ClearJournal();
    const unsigned before = LogLines();
    if (!op()) {
        std::printf("the operation failed\n");
        return false;
    }
    out.lines = LogLines() - before;
    kvtbench::TransportReplay replay;
    std::string error;
    if (!replay.Prepare(sim.Journal(), error)) {
        std::printf("%s\n", error.c_str());
        return false;
    }
    out.calls = replay.CallCount();
    auto times = [](unsigned n, auto&& body) {
        return [n, &body] {
            for (unsigned i = 0; i < n; ++i) {
                if (!body()) return false;
            }
            return true;
        };
    };
    auto runReplay = [&replay] { return replay.Run(); };
    auto runBoth = [&replay, &beside] { return replay.Run() && beside(); };
    out.ms = Best(rounds, times(repeat, op)) / repeat;
    out.replayMs = Best(rounds, times(replayRepeat, runReplay)) / replayRepeat;
    out.besideMs = Best(rounds, times(replayRepeat, runBoth)) / replayRepeat;
    if (out.ms < 0 || out.replayMs < 0 || out.besideMs < 0) {
        std::printf("the operation or its replay failed\n");
        return false;
    }
    return true;
}

// What every event procedure call does beside its procedure: the name published in its
// named block and the configuration word read from another, each block created, locked,
// accessed and released, as the factory API library does.
bool EventProcBlocks() {
    CEventProcNameSharedMemory name;
    CConfigurationSharedMemory configuration;
    std::uint32_t word = 0;
    {
        kvt::BlockAccess access(name);
        if (!access.WriteText("GetLanguage")) {
            return false;
        }
    }
    kvt::BlockAccess access(configuration);
    return access.Read(word);
}

// The dump's text of `size` bytes formatted in one buffer by the log's own formatting,
// its line ends made CR LF, and written with one file write (opened, written, closed).
bool DumpTextWrittenOnce(const std::vector<unsigned char>& data) {
    static kvtlog::LogStream text;
    static std::vector<char> fileBytes(2 * kvtlog::kLogBufferSize);
    kvtlog::FormatDump(text, "[MNTR]", data.data(), data.size(), [] {});
    const std::size_t n = kvtlog::ToFileLineEnds(text.Text(), text.Length(), fileBytes.data());
    text.Empty();
    kvt::UniqueFile file(::CreateFileA("dump-text.log", GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), fileBytes.data(), static_cast<DWORD>(n), &written, nullptr) &&
           written == n;
}

int Measure() {
    if (::LoadLibraryA((kvttest::CurrentDir() + "KVTItoPTP.dll").c_str()) == nullptr) {
        std::printf("cannot load the simulated camera\n");
        return 2;
    }
    kvttest::SimCamera sim;
    HMODULE library = ::LoadLibraryA("oxrmsg.dll");
    auto open = Bind<decltype(&KVT_OpenDevice)>(library, "KVT_OpenDevice");
    auto execs = Bind<decltype(&KVT_ExecuteEventProcS)>(library, "KVT_ExecuteEventProcS");
    auto monOpen = Bind<decltype(&KVT_MonitorOpenSession)>(library, "KVT_MonitorOpenSession");
    auto monBank = Bind<decltype(&KVT_MonitorChangeBank)>(library, "KVT_MonitorChangeBank");
    auto monRead = Bind<decltype(&KVT_MonitorReadMemory)>(library, "KVT_MonitorReadMemory");
    if (!sim.Ok() || !open || !execs || !monOpen || !monBank || !monRead || open() != 0) {
        std::printf("KVT_OpenDevice failed\n");
        return 3;
    }
    const bool fast = kvtlog::FastLogRequested();
    const std::string mode = fast ? ", fast log" : "";

    // One-property procedure.
    std::uint32_t language = 0;
    Measured exec;
    if (!MeasureAgainstReplay(sim, [&] { return execs("GetLanguage", &language, 4) == 0; }, kExecCalls,
                              kExecCalls, kRounds, EventProcBlocks, exec)) {
        return 4;
    }
    const std::string execName = "ExecuteEventProcS GetLanguage" + mode;
    Bench(execName.c_str(), 1000.0 / exec.ms, "calls/s", "its transport calls alone", 1000.0 / exec.replayMs);
    Bench(execName.c_str(), 1000.0 / exec.ms, "calls/s", "+ its two named-block accesses",
          1000.0 / exec.besideMs);
    std::printf("INFO GetLanguage%s: %zu transport calls, %u log lines per call\n", mode.c_str(), exec.calls,
                exec.lines);

    // 64 KiB monitor read with its dump.
    std::vector<unsigned char> data(kReadSize);
    if (monOpen() != 0 || monBank(0xEE) != 0) {
        std::printf("monitor session failed\n");
        return 5;
    }
    Measured read;
    auto none = [] { return true; };
    if (!MeasureAgainstReplay(sim, [&] { return monRead(0x1000, kReadSize, data.data()) == 0; }, 1, 20,
                              kReadRounds, none, read)) {
        return 6;
    }
    const double textMs = Best(kRounds, [&] { return DumpTextWrittenOnce(data); });
    ::DeleteFileA("dump-text.log");
    const std::string readName = "MonitorReadMemory 64 KiB with dump" + mode;
    Bench(readName.c_str(), read.ms, "ms", "its transport calls alone", read.replayMs);
    Bench(readName.c_str(), read.ms, "ms", "its dump text formatted, one write", textMs);
    std::printf("INFO 64 KiB read%s: %zu transport calls, %u log lines, %u+ commits (one per dumped byte)\n",
                mode.c_str(), read.calls, read.lines, kReadSize);
    if (fast) {
        return 0;
    }
    const double readMs = read.ms;

    // Where the time goes: one commit, and as many commits as the dump makes.
    const double commitsMs = Best(1, [&] { return LogLikeCommits(kReadSize, false); });
    const double keptMs = Best(1, [&] { return LogLikeCommits(kReadSize, true); });
    ::DeleteFileA("commits.log");
    Bench("65536 log-like commits alone", commitsMs, "ms", "the 64 KiB read with dump", readMs);
    Bench("the same appends, file kept open", keptMs, "ms", "opened and closed each time", commitsMs);
    const double commitUs = 1000.0 * commitsMs / kReadSize;
    std::printf("INFO one commit (open, lock, seek, write, unlock, close): %.1f us\n", commitUs);
    std::printf("INFO GetLanguage: %u lines x %.1f us = %.2f ms of its %.2f ms per call\n", exec.lines,
                commitUs, exec.lines * commitUs / 1000.0, exec.ms);
    return 0;
}

// Runs the measuring child in the folder, with the fast log switched on or off; its
// BENCH and INFO lines go to standard output.
int MeasureInChild(const std::string& self, const std::string& folder, bool fast) {
    ::SetEnvironmentVariableA("KVT_FAST_LOG", fast ? "1" : nullptr);
    const kvttest::ProcessResult run = kvttest::RunProcess("\"" + self + "\" --measure", folder, "", 900000);
    ::SetEnvironmentVariableA("KVT_FAST_LOG", nullptr);
    // The library's own standard output (timer and duration lines) is left out.
    for (const std::string& line : kvttest::SplitLines(run.out)) {
        if (line.rfind("BENCH ", 0) == 0 || line.rfind("INFO ", 0) == 0 || run.exitCode != 0) {
            std::printf("%s\n", line.c_str());
        }
    }
    if (run.exitCode != 0) {
        std::fputs(run.err.c_str(), stderr);
    }
    return run.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--measure") {
        return Measure();
    }
    const robusttest::RobustFolder folder("call-bench");
    const std::string self = folder.Path() + "kvt_call_bench.exe";
    if (!kvttest::CopyFileTo(kvttest::BinDir() + "kvt_call_bench.exe", self)) {
        std::printf("cannot lay out %s\n", folder.Path().c_str());
        return 1;
    }
    int status = MeasureInChild(self, folder.Path(), false);
    if (status == 0) {
        status = MeasureInChild(self, folder.Path(), true);
    }
    kvttest::KeepOrRemoveFolder(folder.Path(), argc >= 2 && std::string(argv[1]) == "keep");
    return status;
}
