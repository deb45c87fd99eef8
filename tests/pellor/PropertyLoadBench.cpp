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
    WIN32_FILE_ATTRIBUTE_DATA logData{};
    ::GetFileAttributesExA((folder.Path() + "KvtDll.log").c_str(), GetFileExInfoStandard, &logData);

    std::printf("catalogue: %u properties, %llu bytes\n", pellor::kPropertyCount, bytes);
    std::printf("LoadPropertyData (best of %d): %.1f ms\n", kRounds, procedureMs);
    std::printf("direct file writes (best of %d): %.1f ms\n", kRounds, directMs);
    std::printf("ratio: %.2f\n", directMs > 0 ? procedureMs / directMs : 0.0);
    std::printf("KvtDll.log after %d calls: %lu bytes\n", kRounds, logData.nFileSizeLow);
    return 0;
}
