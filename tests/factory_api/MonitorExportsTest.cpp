// The six monitor exports: no frame lines of their own, only failure lines.
#include <gtest/gtest.h>

#include "tests/factory_api/DeployFolder.h"

using namespace kvtq517test;

TEST(MonitorExports, WithoutASessionObjectRefuseWith35BeforeSendingAnything) {
    DeployFolder folder = ReadyFolder("nomonitor");
    folder.WithCamera();
    const DriverRun run =
        folder.Run({"open", "bank:238", "read:4097:10", "write:4097:0102", "call:5"});
    EXPECT_EQ(run.Code("open"), 0u);
    for (const char* command : {"bank:238", "read:4097:10", "write:4097:0102", "call:5"}) {
        EXPECT_EQ(run.Code(command), 35u) << command;
    }
    int count = 0;
    for (const std::string& line : run.log) {
        count += line == "[ERR!] - [VALU] m_pSLRMonitor" ? 1 : 0;
        EXPECT_EQ(line.find("[KVTI] KVT_Monitor"), std::string::npos) << line;
    }
    EXPECT_EQ(count, 4);
    EXPECT_FALSE(run.LogContains("[MNTR]"));
}

TEST(MonitorExports, ClosingWithoutASessionReturns0AndWritesNothing) {
    DeployFolder folder = ReadyFolder("monclose");
    const DriverRun run = folder.Run({"logsize", "monclose", "logsize"});
    ASSERT_EQ(run.results.size(), 3u) << run.process.out;
    EXPECT_EQ(run.results[1], "monclose = 0");
    EXPECT_EQ(run.results[0], run.results[2]) << "the log grew";
}

TEST(MonitorExports, ASessionReadsWritesAndCallsTheCamera) {
    DeployFolder folder = ReadyFolder("session");
    folder.WithCamera();
    const DriverRun run =
        folder.Run({"open", "monopen", "bank:238", "read:4097:4", "write:4097:a1b2",
                    "read:4097:4", "call:5", "monclose", "monclose", "read:4097:4"});
    EXPECT_EQ(run.Code("monopen"), 0u);
    EXPECT_EQ(run.Code("bank:238"), 0u);
    ASSERT_GE(run.results.size(), 10u) << run.process.out;
    EXPECT_EQ(run.results[3], "read:4097:4 = 0 [01 e3 00 24]");
    EXPECT_EQ(run.results[4], "write:4097:a1b2 = 0");
    EXPECT_EQ(run.results[5], "read:4097:4 = 0 [a1 b2 00 24]");
    EXPECT_EQ(run.results[6], "call:5 = 0");
    EXPECT_EQ(run.results[7], "monclose = 0");
    EXPECT_EQ(run.results[8], "monclose = 0") << "a second close has no object to close";
    EXPECT_EQ(run.results[9].substr(0, 16), "read:4097:4 = 35");
    EXPECT_TRUE(run.LogContains("[MNTR] Read  : Bank = ee : Address = 0x1001"));
}

TEST(MonitorExports, AFailureOfTheMonitorIsReturnedWithItsLine) {
    DeployFolder folder = ReadyFolder("monbank");
    folder.WithCamera();
    const DriverRun run = folder.Run({"open", "monopen", "bank:208", "read:4097:4"});
    EXPECT_EQ(run.Code("bank:208"), 3u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] BankKind"));
    EXPECT_EQ(run.Code("read:4097:4"), 3u) << "no bank chosen";
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] _CpuKind"));
}

// A camera that answers a read with fewer bytes than asked fails the read: the caller
// cannot learn how many bytes arrived.
TEST(MonitorExports, AShortAnswerFailsTheRead) {
    DeployFolder folder = ReadyFolder("monshort");
    folder.WithCamera(OneCameraScenario() +
                      "[Camera0.Procedures]\nMonReadAndGetData.ReturnData = 01 02 03\n");
    const DriverRun run = folder.Run({"open", "monopen", "bank:238", "read:4097:4"});
    EXPECT_EQ(run.Code("read:4097:4"), 35u) << run.process.out;
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] byteCount"));
}
