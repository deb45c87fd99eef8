// A transport failure at any call position of a factory program's operation: the
// operation returns a failure code, logs "[ERR!]", leaks no handle, and the process
// goes on (the next attempt's clean set-up succeeds). No operation ignores a failed
// transport status: even procedures that do not judge the camera's result (untested
// runs, tune data) fail when the call itself fails, so every position must fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "tests/robustness/RobustFolder.h"

namespace {

using robusttest::DriverOutput;
using robusttest::Field;
using robusttest::FieldNumber;
using robusttest::RobustFolder;
using robusttest::Words;

// The judged handle count is that of an attempt that is not a module's first throw
// (FaultSweep.h); it must not move at all. Across the whole sweep the first attempts
// may add the runtimes' one-time semaphores: at most 4 per module seen, three modules.
constexpr long kHandleTolerance = 0;
constexpr long kOneTimeHandles = 12;

// The sequences of the driver (Sequences.cpp), each swept in one driver process.
const char* const kSequences[] = {
    "OpenDevice",
    "OpenDevice.TwoCameras",
    "MonitorSession",
    "GetLanguage",
    "SetLanguage",
    "DisableAutoActiveSweep",
    "SaveLanguage",
    "SaveTimeCode",
    "SetHighIsoSpeedNoiseReduction",
    "EnterFactoryMode",
    "ExecuteAutoActiveSweep",
    "DisableBootDisk",
    "SetSoundVolume",
    "GetMachineCellDispDialResult",
    "CheckLensActivity",
    "MPUReset",
    "SetDLResonantFrequency",
    "GetBodyID",
    "SetBodyID",
    "SetFilePrefix",
    "GetABoardEepromData",
    "SetABoardEepromData",
    "CopyDLResonantFrequency",
    "GetDateTime",
    "SetDateTime",
    "CheckStorageMediaExistence",
    "GetIcuFirmwareVersion",
    "GetCameraLog",
    "LoadPropertyData",
    "SetReleaseParameter",
    "GetReleaseParameterS",
    "ReleaseAndTransfer",
    "ReleaseAndTransferS",
    "MVT_ReleaseAndTransfer",
    "LoadProperty",
    "SaveProperty",
    "Debug",
};

long g_totalTried = 0;

const RobustFolder& Folder() {
    static const RobustFolder folder("sweep");
    return folder;
}

// Checks every position line of one sequence's run; returns the positions tried.
long CheckPositions(const DriverOutput& run, const std::string& sequence) {
    long tried = 0;
    long growth = 0;
    for (const std::string& line : run.Starting("pos ")) {
        const std::vector<std::string> w = Words(line);
        if (w.size() < 4) {
            ADD_FAILURE() << "malformed line: " << line;
            continue;
        }
        const long index = std::strtol(w[2].c_str(), nullptr, 10);
        const std::string& call = w[3];   // "function" or "function:procedure"
        const long result = FieldNumber(line, "result");
        SCOPED_TRACE(line);
        // The attempt ran as the clean one up to the failed call.
        EXPECT_EQ(FieldNumber(line, "at"), index);
        EXPECT_NE(result, 0) << "the failed " << call << " was reported as success";
        EXPECT_EQ(result & 1, 1) << "failure codes are odd";
        EXPECT_GE(FieldNumber(line, "err"), 1) << "no [ERR!] line";
        EXPECT_LE(std::labs(FieldNumber(line, "handles", 0)), kHandleTolerance) << "handle leak";
        growth += FieldNumber(line, "first", 0);
        ++tried;
    }
    EXPECT_LE(growth, kOneTimeHandles) << "handles leak across the sweep of " << sequence;
    return tried;
}

class FaultSweep : public ::testing::TestWithParam<const char*> {};

TEST_P(FaultSweep, EveryTransportCallPosition) {
    const std::string sequence = GetParam();
    // KVT_FULL_SWEEP=1 (inherited by the driver) tries every position of the sampled
    // sequences too; LoadPropertyData alone then takes several minutes.
    const char* sweep = std::getenv("KVT_FULL_SWEEP");
    const bool full = sweep != nullptr && sweep[0] == '1';
    const DriverOutput run = Folder().Run({std::string("sweep"), sequence}, full ? 3600000 : 300000);
    ASSERT_FALSE(run.process.timedOut) << run.Transcript();
    ASSERT_EQ(run.process.exitCode, 0) << run.Transcript();
    const std::vector<std::string> seq = run.Starting("seq ");
    ASSERT_EQ(seq.size(), 1u) << run.Transcript();
    EXPECT_EQ(Field(seq[0], "clean"), "0") << seq[0];
    ASSERT_FALSE(run.Starting("done").empty()) << "the driver did not finish";
    const long tried = CheckPositions(run, sequence);
    EXPECT_EQ(tried, FieldNumber(seq[0], "tried"));
    EXPECT_GT(tried, 0);
    g_totalTried += tried;
    std::cout << sequence << ": " << FieldNumber(seq[0], "calls") << " calls, " << tried
              << " positions tried (total so far " << g_totalTried << ")\n";
}

INSTANTIATE_TEST_SUITE_P(Sequences, FaultSweep, ::testing::ValuesIn(kSequences),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

// The first open of a process: k2pInitialize fails, the open reports it, and the next
// open loads, binds and initialises the transport again.
TEST(FaultSweepFirstOpen, InitializeFailureIsReportedAndRetried) {
    const RobustFolder folder("first-open");
    const DriverOutput run = folder.Run({"init-fault"}, 120000);
    ASSERT_EQ(run.process.exitCode, 0) << run.Transcript();
    const std::vector<std::string> pos = run.Starting("pos ");
    ASSERT_EQ(pos.size(), 1u) << run.Transcript();
    EXPECT_EQ(FieldNumber(pos[0], "result"), 1) << pos[0];   // "[FUNC] _pImpl->_k2pInitiaize"
    EXPECT_EQ(FieldNumber(pos[0], "at"), 0) << pos[0];
    EXPECT_GE(FieldNumber(pos[0], "err"), 1) << pos[0];
    const std::vector<std::string> retry = run.Starting("retry ");
    ASSERT_EQ(retry.size(), 1u);
    EXPECT_EQ(Field(retry[0], "result"), "0") << retry[0];
    EXPECT_EQ(Field(retry[0], "first"), "k2pInitialize") << retry[0];
    g_totalTried += 1;
}

}  // namespace
