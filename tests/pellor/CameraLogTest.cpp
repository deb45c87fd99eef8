// GetCameraLog and the tune-data procedures through the factory API library, with the
// simulated camera, and GetCameraLog against a transport that reports an impossible
// log size (HugeLogTransport.cpp).
#include <gtest/gtest.h>

#include <string>

#include "tests/pellor/PellorDataFolder.h"

namespace {

using pellortest::DataRun;
using pellortest::PellorFolder;
using pellortest::Scenario;

TEST(CameraLog, IsWrittenByteExactToCameraLogInTheCurrentFolder) {
    PellorFolder folder("camlog", Scenario("CameraLog = \"[0001] boot\\r\\n\" 00 ff 0d 0a fill:3000:41\n"));
    const DataRun run = folder.Run({"exec=GetCameraLog"});
    ASSERT_EQ(run.Code("exec=GetCameraLog"), 0u);
    const std::string expected = std::string("[0001] boot\r\n\0\xff\r\n", 17) + std::string(3000, 'A');
    EXPECT_EQ(kvttest::ReadFileBytes(folder.Path() + "CameraLog"), expected);
    EXPECT_TRUE(run.HasLog("[EVNT] FA_GetCameraLogStart - 0"));
    EXPECT_TRUE(run.HasLog("[VALU] lSize                - 3017"));
    EXPECT_TRUE(run.HasLog("[FUNC] DebugWriteDumpMemory - 0"));
    EXPECT_EQ(run.Runs("FA_GetCameraLogEnd").size(), 1u);
}

TEST(CameraLog, AnEmptyLogFailsWith35AndLeavesTheTransferAlone) {
    PellorFolder folder("camlog-empty", Scenario("CameraLog = zeros:0\n"));
    const DataRun run = folder.Run({"exec=GetCameraLog"});
    EXPECT_EQ(run.Code("exec=GetCameraLog"), 35u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] Size"));
    EXPECT_EQ(run.Runs("FA_GetCameraLogStart").size(), 1u);
    EXPECT_TRUE(run.Runs("FA_GetCameraLogEnd").empty());
    EXPECT_FALSE(kvttest::FileExists(folder.Path() + "CameraLog"));
}

TEST(CameraLog, AFailingEndOfTransferIsReported) {
    PellorFolder folder("camlog-end", Scenario("CameraLog = \"abc\"\n"
                                               "[Camera0.Procedures]\nFA_GetCameraLogEnd = 1\n"));
    const DataRun run = folder.Run({"exec=GetCameraLog"});
    EXPECT_EQ(run.Code("exec=GetCameraLog"), 1u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [EVNT] FA_GetCameraLogEnd"));
    EXPECT_FALSE(kvttest::FileExists(folder.Path() + "CameraLog"));
}

// A log size no buffer of this process can take is refused without allocating it.
TEST(CameraLog, ASizeBeyondMemoryFailsCleanly) {
    PellorFolder folder("camlog-huge");
    kvttest::CopyFileTo(kvttest::BinDir() + "PellorHugeLogTransport.dll",
                        folder.Path() + "KVTItoPTP.dll");
    const DataRun run = folder.Run({"exec=GetCameraLog"}, false);
    EXPECT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("exec=GetCameraLog"), 5u) << run.process.out << run.process.err;
    EXPECT_TRUE(run.HasLog("[VALU] lSize                - 4294967280"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] pbyData"));
    EXPECT_FALSE(kvttest::FileExists(folder.Path() + "CameraLog"));
}

// The camera's result does not matter; only a failing run does.
TEST(TuneData, RunsEachSaveProcedureAndIgnoresItsResult) {
    PellorFolder folder("tune", Scenario("[Camera0.Procedures]\nSaveTuneToFile = 1\n"
                                         "SaveTune2ToFile = 3\nSaveAETuneToFile.Status#1 = 7\n"));
    const DataRun run = folder.Run({"exec=SaveTuneData", "exec=SaveTuneData2", "exec=SaveAETuneData"});
    EXPECT_EQ(run.Code("exec=SaveTuneData"), 0u);
    EXPECT_EQ(run.Code("exec=SaveTuneData2"), 0u);
    EXPECT_EQ(run.Code("exec=SaveAETuneData"), 7u);
    EXPECT_NE(run.Trace().find("SaveTuneToFile(0) SaveTune2ToFile(0) SaveAETuneToFile(0)"),
              std::string::npos) << run.Trace();
}

}  // namespace
