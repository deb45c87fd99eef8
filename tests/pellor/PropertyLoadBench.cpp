// Benchmark (not a test): LoadPropertyData over the whole catalogue against the
// simulated camera, through the factory API library in a deploy-like folder, and in
// the same run the same 239 files written directly with the same file calls. Prints
// both times (best of three) and their ratio.
//
//   cd <a scratch folder> && wine64 <build>/bin/pellor_load_bench.exe
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "plugins/pellor/PropertyCatalogue.h"
#include "plugins/pellor/PropertyDataFile.h"
#include "tests/pellor/PellorDataFolder.h"

namespace {

constexpr int kRounds = 3;

// Writes every catalogued property's file of its rounded size into `folder`; returns
// the milliseconds it took.
double WriteDirectly(const std::string& folder, unsigned long long* bytes) {
    const auto start = std::chrono::steady_clock::now();
    *bytes = 0;
    for (unsigned i = 0; i < pellor::kPropertyCount; ++i) {
        const pellor::PROPERTY_DATA_T& record = pellor::kPropTable[i];
        const std::uint32_t size = (record.Size + 3u) / 4u * 4u;
        std::unique_ptr<unsigned char[]> data(new unsigned char[size]());
        pellor::WritePropertyDataFile(folder + pellor::PropertyDataFileName(record.ID), data.get(),
                                      size);
        *bytes += size;
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Appends `count` short lines to a scratch file the way a log commit does (open for
// appending, one write, close); returns the milliseconds it took.
double AppendLikeCommits(const std::string& path, unsigned count) {
    static const char kLine[] = "       118 | [TIME]       0 msec. : Camera[0] : Func : k2pGetReturnDataSize\r\n";
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
    }
    const pellortest::DataRun run = folder.Run(commands, false);
    double procedureMs = 1e30;
    for (int r = 0; r < kRounds; ++r) {
        const std::string command = "time=LoadPropertyData#" + std::to_string(r);
        if (run.Code(command) != 0) {
            std::printf("LoadPropertyData failed: %s\n%s\n", run.Result(command).c_str(),
                        run.process.out.c_str());
            return 1;
        }
        procedureMs = std::min(procedureMs, std::strtod(run.Bytes(command).c_str(), nullptr));
    }
    if (procedureMs >= 1e30) {
        std::printf("no timing in: %s\n", run.process.out.c_str());
        return 1;
    }

    double directMs = 1e30;
    unsigned long long bytes = 0;
    for (int r = 0; r < kRounds; ++r) {
        directMs = std::min(directMs, WriteDirectly(direct, &bytes));
    }
    // Each record's read and file are logged in 7 commits (6 of the transport calls, one
    // of the procedure).
    const unsigned commits = 7 * pellor::kPropertyCount;
    double appendMs = 1e30;
    for (int r = 0; r < kRounds; ++r) {
        appendMs = std::min(appendMs, AppendLikeCommits(folder.Path() + "appends.log", commits));
    }
    WIN32_FILE_ATTRIBUTE_DATA logData{};
    ::GetFileAttributesExA((folder.Path() + "KvtDll.log").c_str(), GetFileExInfoStandard, &logData);

    std::printf("catalogue: %u properties, %llu bytes\n", pellor::kPropertyCount, bytes);
    std::printf("LoadPropertyData (best of %d): %.1f ms\n", kRounds, procedureMs);
    std::printf("direct file writes (best of %d): %.1f ms\n", kRounds, directMs);
    std::printf("ratio: %.2f\n", directMs > 0 ? procedureMs / directMs : 0.0);
    std::printf("KvtDll.log after %d calls: %lu bytes\n", kRounds, logData.nFileSizeLow);
    std::printf("%u log-like appends (open, write, close): %.1f ms\n", commits, appendMs);
    return 0;
}
