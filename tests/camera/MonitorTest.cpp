// Monitor sessions: the checks before every access, the bank windows of reads, the
// procedures sent and the "[MNTR]" lines and dumps of the log.
#include <cstring>
#include <type_traits>

#include "camera/CameraFixture.h"
#include "core/camera/SLRMonitor.h"

namespace {

using cameratest::Catch;
using cameratest::Raised;
using Lines = std::vector<std::string>;
using SLR_MONITOR::tagBANK_KIND_T;

static_assert(!std::is_copy_constructible_v<CSLRMonitor> &&
                  !std::is_copy_assignable_v<CSLRMonitor>,
              "a copy would free the session state twice");

tagBANK_KIND_T Bank(unsigned value) {
    return static_cast<tagBANK_KIND_T>(value);
}

class MonitorTest : public cameratest::CameraTest {
protected:
    void Open(unsigned bank) {
        monitor.OpenSession();
        monitor.ChangeBank(Bank(bank));
        sim.ClearJournal();
        NewLogLines();
    }

    CSLRMonitor monitor;
    unsigned char buffer[64] = {};
};

TEST_F(MonitorTest, AccessChecksComeBeforeAnyCameraCall) {
    unsigned size = 4;
    const unsigned number = 1;
    EXPECT_EQ(Catch([&] { monitor.ReadMemory(0, size, buffer); }),
              (Raised{35, "[VALU] _IsSessionOpen"}));
    EXPECT_EQ(Catch([&] { monitor.WriteMemory(0, size, buffer); }),
              (Raised{3, "[VALU] _IsSessionOpen"}));
    EXPECT_EQ(Catch([&] { monitor.CallFunction(number); }), (Raised{3, "[VALU] _IsSessionOpen"}));
    for (unsigned bad : {0x00u, 0xBFu, 0xD0u, 0xEDu, 0xFDu, 0x1C0u}) {
        EXPECT_EQ(Catch([&] { monitor.ChangeBank(Bank(bad)); }), (Raised{3, "[VALU] BankKind"}))
            << bad;
    }
    EXPECT_EQ(Calls("k2pExecuteRemoteEventProcedure"), 0u);

    monitor.OpenSession();
    EXPECT_EQ(Catch([&] { monitor.ReadMemory(0, size, buffer); }),
              (Raised{3, "[VALU] _CpuKind"}));
    EXPECT_EQ(Catch([&] { monitor.WriteMemory(0, size, buffer); }),
              (Raised{3, "[VALU] _CpuKind"}));
    monitor.CallFunction(number);   // needs no bank
    monitor.ChangeBank(Bank(0xEE));
    EXPECT_EQ(Catch([&] { monitor.ReadMemory(0, size, nullptr); }), (Raised{3, "[VALU] data"}));
    EXPECT_EQ(Catch([&] { monitor.WriteMemory(0, size, nullptr); }), (Raised{3, "[VALU] data"}));
    EXPECT_EQ(Trace(), "MonOpen(0) MonCall(0,1)");
}

TEST_F(MonitorTest, BankSelectsProcessorAndReadWindow) {
    struct Case {
        unsigned bank;
        unsigned cpu;
        unsigned sentAddress;
    } cases[] = {{0xC0, 0, 0x1234}, {0xC3, 0, 0x31234}, {0xCF, 0, 0xF1234},
                 {0xEE, 2, 0x1234}, {0xFC, 1, 0x1234}};
    for (const Case& c : cases) {
        Open(c.bank);
        unsigned size = 16;
        monitor.ReadMemory(0x1234, size, buffer);
        monitor.WriteMemory(0x1234, size, buffer);
        const auto runs = kvttest::SimExecutes(sim.Journal());
        ASSERT_EQ(runs.size(), 2u);
        EXPECT_EQ(runs[0].procedure, "MonReadAndGetData");
        EXPECT_EQ(runs[0].Param(0), c.cpu);
        EXPECT_EQ(runs[0].Param(1), c.sentAddress) << c.bank;
        EXPECT_EQ(runs[0].Param(2), 16u);
        EXPECT_EQ(runs[1].procedure, "MonWrite");
        EXPECT_EQ(runs[1].Param(0), c.cpu);
        EXPECT_EQ(runs[1].Param(1), 0x1234u) << "writes take no bank window";
        ASSERT_EQ(runs[1].params.size(), 4u);
        EXPECT_EQ(runs[1].params[3].type, 4u);
        EXPECT_EQ(runs[1].params[3].bytes.size(), 16u);
    }
}

TEST_F(MonitorTest, ReadAndWriteLinesWithTheirDumps) {
    std::string bytes;
    for (int i = 0; i < 20; ++i) {
        bytes += static_cast<char>(0xA0 + i);
    }
    ASSERT_TRUE(sim.SetMemory(0, 0, 0x31234, bytes));
    Open(0xC3);
    unsigned size = 20;
    monitor.ReadMemory(0x1234, size, buffer);
    EXPECT_EQ(size, 20u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 20), bytes);
    unsigned char small[3] = {0x00, 0x0f, 0xff};
    monitor.WriteMemory(0x5, 3, small);

    const Lines log = NewLogLines();
    EXPECT_EQ(log, (Lines{
                       "[MNTR] Read  : Bank = c3 : Address = 0x1234 : Size =    20",
                       "[MNTR]  Data[ 0000 ]  a0 a1 a2 a3 a4 a5 a6 a7  a8 a9 aa ab ac ad ae af ",
                       "[MNTR]  Data[ 0010 ]  b0 b1 b2 b3 ",
                       "[MNTR] Write : Bank = c3 : Address = 0x0005 : Size =     3",
                       "[MNTR]  Data[ 0000 ]  00 0f ff ",
                   }));
    EXPECT_EQ(sim.Memory(0, 0, 5, 3), std::string("\x00\x0f\xff", 3));
}

TEST_F(MonitorTest, CallLineAndProcedure) {
    Open(0xEE);
    monitor.CallFunction(0x0A);
    monitor.CallFunction(300);
    const Lines log = NewLogLines();
    EXPECT_EQ(log, (Lines{"[MNTR] Call  : FunctionNo = 0x0a( 10)",
                          "[MNTR] Call  : FunctionNo = 0x12c(300)"}));
    EXPECT_EQ(Trace(), "MonCall(0,10) MonCall(0,300)");
}

TEST_F(MonitorTest, SessionOpensOnceAndClosesWhateverTheResult) {
    monitor.OpenSession();
    monitor.OpenSession();
    EXPECT_EQ(sim.CallCount(0, "MonOpen"), 1u);

    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nMonClose.Result#1 = 5\n"));
    EXPECT_EQ(Catch([&] { monitor.CloseSession(); }), (Raised{5, "[EVNC] MonClose"}));
    unsigned size = 1;
    EXPECT_EQ(Catch([&] { monitor.ReadMemory(0, size, buffer); }).code, 35u);
    monitor.CloseSession();   // closed: no camera call
    EXPECT_EQ(sim.CallCount(0, "MonClose"), 1u);

    // A refused open leaves the session closed; a transport failure on close keeps it open.
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nMonOpen.Result#1 = 9\n"));
    EXPECT_EQ(Catch([&] { monitor.OpenSession(); }), (Raised{9, "[EVNC] MonOpen"}));
    monitor.OpenSession();
    ASSERT_TRUE(sim.SetFault("k2pExecuteRemoteEventProcedure", 1, 211));
    EXPECT_EQ(Catch([&] { monitor.CloseSession(); }).code, 211u);
    monitor.CloseSession();
    EXPECT_EQ(sim.CallCount(0, "MonOpen"), 3u);
    EXPECT_EQ(sim.CallCount(0, "MonClose"), 2u);
}

TEST_F(MonitorTest, RefusedWriteAndCallCarryTheCameraResult) {
    Open(0xFC);
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nMonWrite.Result#1 = 3\nMonCall.Result#1 = 7\n"));
    EXPECT_EQ(Catch([&] { monitor.WriteMemory(0, 2, buffer); }), (Raised{3, "[EVNC] MonWrite"}));
    EXPECT_EQ(Catch([&] { monitor.CallFunction(1); }), (Raised{7, "[EVNC] MonCall"}));
}

// A camera that answers a read with more bytes than asked must not overrun the buffer.
TEST_F(MonitorTest, ReadReturningMoreThanAskedIsRefused) {
    Open(0xEE);
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nMonReadAndGetData.ExtraBytes#1 = 2\n"));
    std::memset(buffer, 0xee, sizeof(buffer));
    unsigned size = 10;
    EXPECT_EQ(Catch([&] { monitor.ReadMemory(0x1000, size, buffer); }),
              (Raised{35, "[VALU] ReturnDataSize"}));
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(buffer[0], 0xee);
    EXPECT_EQ(Calls("k2pGetReturnDataForExecuteRemoteEventProcedure"), 0u);

    // A size the caller keeps constant reads as well; fewer bytes than asked are fine.
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\n"
                          "MonReadAndGetData.ReturnData#1 = 01 02 03\n"));
    monitor.ReadMemory(0x1000, 10u, buffer);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), "\x01\x02\x03\xee");
}

TEST(MonitorObject, DestructorLogsItsStateAndLeavesTheSessionAlone) {
    cameratest::OpenDeviceOnce(cameratest::kBaseScenario);
    kvttest::SimCamera sim;
    ASSERT_TRUE(sim.Load(cameratest::kBaseScenario));
    const std::size_t before = kvttest::ReadLogLines("KvtDll.log").size();
    {
        CSLRMonitor monitor;
        monitor.OpenSession();
    }
    const auto all = kvttest::ReadLogLines("KvtDll.log");
    Lines tail(all.begin() + before, all.end());
    ASSERT_GE(tail.size(), 2u);
    const std::string first = tail[tail.size() - 2];
    ASSERT_EQ(first.rfind("[VALU] _pImpl - ", 0), 0u);
    EXPECT_GT(std::stoull(first.substr(16)), 0u);
    EXPECT_EQ(tail.back(), "[VALU] _pImpl - 0");
    EXPECT_EQ(sim.Trace(), "MonOpen(0)");
}

}  // namespace
