// CStateMonitor in a product process (state_monitor_driver.exe, linking Corvane) with
// KvtLogMonitor.exe as the reading end.
#include <gtest/gtest.h>

#include <string>

#include "channel/ChannelFixture.h"
#include "channel/ChildProcess.h"

using chtest::ChildProcess;
using chtest::Program;
using chtest::WithoutCr;

namespace {

constexpr unsigned kRunMs = 60000;

std::string RunProduct(const std::string& args) {
    ChildProcess product;
    product.Start(Program("state_monitor_driver") + " " + args);
    if (!product.WaitForExit(kRunMs)) {
        ADD_FAILURE() << "state_monitor_driver " << args << " did not end";
        product.Kill();
    }
    EXPECT_EQ(product.ExitCode(), 0) << args;
    return WithoutCr(product.Out());
}

// The monitor, attached, ending by itself after `count` log texts.
class AttachedMonitor {
public:
    explicit AttachedMonitor(const std::string& options) {
        _process.Start(Program("KvtLogMonitor") + " " + options);
        _attached = _process.WaitForErr("[KvtLogMonitor] attached", kRunMs);
    }
    bool Attached() const { return _attached; }
    // Its whole output after it ended.
    std::string Finish() {
        EXPECT_TRUE(_process.WaitForExit(kRunMs)) << "the monitor did not end";
        EXPECT_EQ(_process.ExitCode(), 0);
        return WithoutCr(_process.Out());
    }
    std::string Err() { return _process.Err(); }

private:
    ChildProcess _process;
    bool _attached = false;
};

// Each "ms <n>" of the product's output.
std::vector<long> Durations(const std::string& out) {
    std::vector<long> ms;
    for (std::size_t at = out.find("ms "); at != std::string::npos; at = out.find("ms ", at + 1)) {
        if (at == 0 || out[at - 1] == '\n') {
            ms.push_back(std::stol(out.substr(at + 3)));
        }
    }
    return ms;
}

}  // namespace

TEST(StateMonitor, SyncWriteReachesTheMonitorWhichAcknowledgesEveryWrite) {
    AttachedMonitor monitor("--count 2");
    ASSERT_TRUE(monitor.Attached()) << monitor.Err();
    const std::string out = RunProduct("syncwrite \"first line\" \"second line\n\"");
    EXPECT_NE(out.find("State Monitor Initialized.\n"), std::string::npos) << out;
    const std::vector<long> ms = Durations(out);
    ASSERT_EQ(ms.size(), 2u) << out;
    for (long t : ms) {
        EXPECT_LT(t, 2500) << "acknowledged by the monitor, not timed out";
    }
    EXPECT_EQ(monitor.Finish(), "first line\nsecond line\n");
    EXPECT_NE(WithoutCr(monitor.Err()).find("[KvtLogMonitor] command 1\n"), std::string::npos)
        << "the start command of Initialize";
}

TEST(StateMonitor, WithoutAReaderWritesAreRefusedAtOnce) {
    const std::string out = RunProduct("syncwrite alone");
    EXPECT_NE(out.find("[ComLIB] >> CREATE & INITIALIZED SMEMORY [NAME:log_smemory]"),
              std::string::npos) << out;
    EXPECT_NE(out.find("[ComLIB] >> CREATE & INITIALIZED SMEMORY [NAME:log_command_smemory]"),
              std::string::npos);
    EXPECT_NE(out.find("State Monitor Initialized.\n"), std::string::npos);
    const std::vector<long> ms = Durations(out);
    ASSERT_EQ(ms.size(), 1u) << out;
    EXPECT_LT(ms[0], 1000);
    EXPECT_NE(RunProduct("null").find("null ok"), std::string::npos);
}

TEST(StateMonitor, FailedInitializeIsCode35AndTheNextGetInstanceTriesAgain) {
    struct Case {
        const char* blocked;
        const char* message;
    };
    const Case cases[] = {{"log_smemory", "[VALU] _pImpl->_hLogOutput"},
                          {"log_command_smemory", "[VALU] _pImpl->_hLogCommand"}};
    for (const Case& c : cases) {
        const std::string out = RunProduct(std::string("blocked ") + c.blocked);
        const std::size_t failed = out.find(std::string("instance fail 35 ") + c.message + "\n");
        const std::size_t retried = out.find("instance ok\n");
        EXPECT_NE(failed, std::string::npos) << out;
        EXPECT_NE(retried, std::string::npos) << out;
        EXPECT_LT(failed, retried);
        EXPECT_EQ(out.find("State Monitor Initialized."), out.rfind("State Monitor Initialized."))
            << "initialised once";
    }
}

TEST(StateMonitor, OverlongTextIsCutWithItsZeroKept) {
    AttachedMonitor monitor("--count 1");
    ASSERT_TRUE(monitor.Attached()) << monitor.Err();
    RunProduct("long 3000000 2047990");  // the cut falls between the 8 and the 9
    const std::string printed = monitor.Finish();
    ASSERT_EQ(printed.size(), 2047999u + 1u) << "2,047,999 bytes, then the monitor's line end";
    EXPECT_EQ(printed.substr(printed.size() - 11), "a012345678\n");
    EXPECT_EQ(printed.find_first_not_of('a'), 2047999u - 9u);
}

TEST(StateMonitor, MonitorConvertsShiftJisToUtf8OnRequest) {
    AttachedMonitor monitor("--utf8 --codepage 932 --count 1");
    ASSERT_TRUE(monitor.Attached()) << monitor.Err();
    RunProduct("syncwrite-hex 8c788d90");  // "警告" in Shift-JIS
    EXPECT_EQ(monitor.Finish(), chtest::FromHex("e8ada6e5918a0a"));
}
