// The channel between real processes: this test, channel_driver.exe (the channel
// library linked in) and KvtLogMonitor.exe (the reading end).
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "channel/ChannelFixture.h"
#include "channel/ChildProcess.h"
#include "core/channel/ComLib.h"

using chtest::ChildProcess;
using chtest::InfoProbe;
using chtest::Program;
using chtest::UniqueName;
using chtest::WithoutCr;

namespace {

constexpr unsigned kRunMs = 60000;

// The "key value" lines of a driver's output (later keys win).
std::map<std::string, long long> Results(const std::string& out) {
    std::map<std::string, long long> results;
    std::istringstream lines(out);
    std::string key;
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        long long value = 0;
        if (words >> key >> value) {
            results[key] = value;
        }
    }
    return results;
}

struct DriverRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    std::map<std::string, long long> results;
};

DriverRun RunDriver(const std::string& args, bool newConsole = false) {
    ChildProcess child;
    DriverRun run;
    child.Start(Program("channel_driver") + " " + args, newConsole);
    if (!child.WaitForExit(kRunMs)) {
        ADD_FAILURE() << "channel_driver " << args << " did not end";
        child.Kill();
    }
    run.exitCode = child.ExitCode();
    run.out = WithoutCr(child.Out());
    run.err = WithoutCr(child.Err());
    run.results = Results(run.out);
    return run;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

}  // namespace

TEST(ChannelAcrossProcesses, SecondProcessSeesVersionFiveAndNoWarning) {
    const std::string name = UniqueName("second");
    HANDLE id = ComLibOpen(name.c_str(), 32, 0, 0, 0);
    ASSERT_NE(id, nullptr);
    const DriverRun run = RunDriver("open " + name + " 32");
    EXPECT_EQ(run.results.at("opened"), 1) << run.out;
    EXPECT_EQ(run.results.at("version"), 5);
    EXPECT_EQ(run.results.at("openers"), 2);
    EXPECT_EQ(run.out.find("[ComLIB] Already Exist!"), std::string::npos);
    EXPECT_EQ(run.err.find(chtest::CaptionBytes()), std::string::npos) << run.err;
    EXPECT_EQ(InfoProbe(name).Openers(), 1) << "the driver's exit closed its end";
    EXPECT_EQ(ComLibClose(id, 0), 1);
}

// Headless (KVT_NO_MESSAGE_BOX is set for every test process) the warning goes to
// standard error: the caption line, then the text, as Shift-JIS bytes.
TEST(ChannelAcrossProcesses, VersionFourBringsTheWarningOnStandardError) {
    const std::string name = UniqueName("v4");
    chtest::PresetInfoBlock preset(name, 4);
    ASSERT_TRUE(preset.Valid());
    const DriverRun run = RunDriver("open " + name + " 32");
    EXPECT_EQ(run.results.at("opened"), 1) << run.out;
    EXPECT_EQ(run.results.at("version"), 4);
    EXPECT_EQ(run.err, chtest::CaptionBytes() + "\n" + chtest::VersionWarningBytes() + "\n");
}

TEST(ChannelAcrossProcesses, WriteAcknowledgedByTheMonitorIsPrintedByIt) {
    ChildProcess monitor;
    monitor.Start(Program("KvtLogMonitor") + " --count 1");
    ASSERT_TRUE(monitor.WaitForErr("[KvtLogMonitor] attached to log_smemory and "
                                   "log_command_smemory (Ctrl+C ends)", kRunMs))
        << monitor.Err();
    EXPECT_EQ(InfoProbe("log_smemory").Openers(), 1);

    const DriverRun run = RunDriver("write log_smemory 2048008 " + Hex("hello from the product"));
    EXPECT_EQ(run.results.at("write"), 1) << run.out;
    EXPECT_LT(run.results.at("ms"), 2500) << "acknowledged, not timed out";
    ASSERT_TRUE(monitor.WaitForExit(kRunMs));
    EXPECT_EQ(monitor.ExitCode(), 0);
    EXPECT_EQ(WithoutCr(monitor.Out()), "hello from the product\n");
    EXPECT_NE(monitor.Err().find("[KvtLogMonitor] stopped"), std::string::npos);
}

// The one slow case: a reader that stays attached but never acknowledges.
TEST(ChannelAcrossProcesses, UnacknowledgedWriteCountsAsDoneWhileTheReaderStaysAttached) {
    const std::string name = UniqueName("slow");
    HANDLE id = ComLibOpen(name.c_str(), 16, 0, 0, 0);
    ASSERT_NE(id, nullptr);
    InfoProbe info(name);
    chtest::RawMapping area(name);
    const LONG count = info.WriteCount();

    const DriverRun run = RunDriver("write " + name + " 16 414243");
    EXPECT_EQ(run.results.at("write"), 1) << run.out;
    EXPECT_GE(run.results.at("ms"), 2900);
    EXPECT_LT(run.results.at("ms"), 6000);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(area.Bytes()), 3), "ABC");
    EXPECT_EQ(info.WriteCount(), count + 1);
    EXPECT_EQ(info.Writing(), 0);
    EXPECT_EQ(ComLibClose(id, 0), 1);
}

TEST(ChannelAcrossProcesses, CloseWithRunningBufferThreadsDoesNotDeadlock) {
    const std::string name = UniqueName("threads");
    const DriverRun run = RunDriver("threads-close " + name);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.results.at("queued"), 1);
    EXPECT_EQ(run.results.at("closed"), 1);
    EXPECT_LT(run.results.at("close-ms"), 5000);
    EXPECT_EQ(run.results.at("send-exit"), 17);
    EXPECT_EQ(run.results.at("rcv-exit"), 18);
    EXPECT_EQ(run.results.at("copied"), 1) << "the waiting thread finished its block";
    EXPECT_EQ(run.results.at("rounds"), 40);
    for (const char* line : {"CREATE SEND", "START SEND", "END SEND", "CREATE RCV", "START RCV",
                             "END RCV"}) {
        EXPECT_NE(run.out.find(std::string("[ComLIB] >> ") + line + " BUFFER THREAD [NAME:" +
                               name + "]"),
                  std::string::npos)
            << line;
    }
}

TEST(ChannelAcrossProcesses, CtrlCDoesNotEndTheProcess) {
    const std::string name = UniqueName("ctrlc");
    const DriverRun run = RunDriver("ctrl-c " + name, true);
    ASSERT_EQ(run.results.count("unsupported"), 0u) << "console control events: " << run.out;
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.results.at("probe"), CTRL_C_EVENT) << "the event was delivered";
    EXPECT_EQ(run.results.at("alive"), 1);
}

TEST(ChannelAcrossProcesses, ConsoleCloseClosesTheChannelsAndEndsWithZero) {
    const std::string name = UniqueName("close");
    const DriverRun run = RunDriver("ctrl-close " + name);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.results.at("ctrl-c"), 1);
    EXPECT_EQ(run.results.at("ctrl-break"), 1);
    EXPECT_NE(run.out.find("[ComLIB] >> CLOSED SMEMORY [NAME:" + name + "]"), std::string::npos);
    EXPECT_EQ(run.results.count("still-running"), 0u);
}

TEST(ChannelAcrossProcesses, FullTableRefusesTheNextOpen) {
    const DriverRun run = RunDriver("fill-table");
    EXPECT_EQ(run.results.at("filled"), 256) << run.out.substr(run.out.size() - 2000);
    EXPECT_EQ(run.results.at("one-more"), 0);
    EXPECT_NE(run.out.find("[ComLIB] Channel Table Full! [NAME:"), std::string::npos);
    EXPECT_EQ(run.results.at("closed"), 1);
    EXPECT_EQ(run.results.at("after-close"), 1) << "a closed record is taken over";
    EXPECT_EQ(run.results.at("old-name-gone"), 1);
}

TEST(LogMonitorProgram, CtrlCEndsItCleanly) {
    const DriverRun run = RunDriver("ctrl-c-monitor", true);
    ASSERT_EQ(run.results.count("unsupported"), 0u) << run.out;
    EXPECT_EQ(run.results.at("attached"), 1) << run.out;
    EXPECT_EQ(run.results.at("openers-before"), 1);
    EXPECT_EQ(run.results.at("ended"), 1);
    EXPECT_EQ(run.results.at("monitor-exit"), 0);
    EXPECT_EQ(run.results.at("stopped-line"), 1);
    EXPECT_EQ(run.results.at("openers-after"), 0) << "the monitor closed its end";
}

TEST(LogMonitorProgram, RefusesUnknownOptions) {
    ChildProcess monitor;
    monitor.Start(Program("KvtLogMonitor") + " --colour");
    ASSERT_TRUE(monitor.WaitForExit(kRunMs));
    EXPECT_EQ(monitor.ExitCode(), 2);
    EXPECT_NE(monitor.Err().find("unknown option --colour"), std::string::npos);
    EXPECT_NE(monitor.Err().find("usage: KvtLogMonitor"), std::string::npos);
}
