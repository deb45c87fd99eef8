// Benchmark (not a test): LoadPropertyData over the whole catalogue against the
// simulated camera, through the factory API library in a deploy-like folder, and in
// the same driver process the same 239 files written directly with the same file
// calls. The two alternate for several rounds; the best time of each and their ratio
// are printed, with the cost of as many log-like appends as the procedure commits.
//
//   cd <a scratch folder> && wine64 <build>/bin/pellor_load_bench.exe
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "tests/pellor/PellorDataFolder.h"

namespace {

constexpr int kRounds = 7;
// Each record's read and file are logged in 7 commits: 6 of the transport calls, 1 of
// the procedure.
constexpr unsigned kCommitsPerCall = 7 * 239;

// Appends `count` short lines to a file the way a log commit does (open for appending,
// one write, close); returns the milliseconds it took.
double AppendLikeCommits(const std::string& path, unsigned count) {
    static const char kLine[] =
        "       118 | [TIME]       0 msec. : Camera[0] : Func : k2pGetReturnDataSize\r\n";
    const auto start = std::chrono::steady_clock::now();
    for (unsigned i = 0; i < count; ++i) {
        HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(file, kLine, sizeof(kLine) - 1, &written, nullptr);
        ::CloseHandle(file);
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The best time of the commands "<verb>#<round>..." of a run; negative on a failure.
double Best(const pellortest::DataRun& run, const std::string& head) {
    double best = 1e30;
    for (int r = 0; r < kRounds; ++r) {
        const std::string command = head + "#" + std::to_string(r);
        if (run.Code(command) != 0) {
            std::printf("%s failed: %s\n", command.c_str(), run.Result(command).c_str());
            return -1;
        }
        best = std::min(best, std::strtod(run.Bytes(command).c_str(), nullptr));
    }
    return best;
}

}  // namespace

int main() {
    pellortest::PellorFolder folder("bench");
    const std::string adjust = folder.Path() + "Adjust\\";
    const std::string direct = folder.Path() + "Direct\\";
    ::CreateDirectoryA(adjust.c_str(), nullptr);
    ::CreateDirectoryA(direct.c_str(), nullptr);

    std::vector<std::string> commands{"folder=" + adjust};
    for (int r = 0; r < kRounds; ++r) {
        commands.push_back("time=LoadPropertyData#" + std::to_string(r));
        commands.push_back("direct=" + direct + "#" + std::to_string(r));
    }
    const pellortest::DataRun run = folder.Run(commands, false);
    const double procedureMs = Best(run, "time=LoadPropertyData");
    const double directMs = Best(run, "direct=" + direct);
    if (procedureMs < 0 || directMs <= 0) {
        std::printf("%s\n", run.process.out.c_str());
        return 1;
    }
    double appendMs = 1e30;
    for (int r = 0; r < 3; ++r) {
        appendMs = std::min(appendMs, AppendLikeCommits(folder.Path() + "appends.log", kCommitsPerCall));
    }
    std::printf("catalogue: 239 properties, 3132188 bytes\n");
    std::printf("LoadPropertyData (best of %d): %.1f ms\n", kRounds, procedureMs);
    std::printf("direct file writes (best of %d): %.1f ms\n", kRounds, directMs);
    std::printf("ratio: %.2f\n", procedureMs / directMs);
    std::printf("%u log-like appends (open, write, close): %.1f ms\n", kCommitsPerCall, appendMs);
    return 0;
}
