// The whole path of a counter read: a program linking Corvane opens the device on the
// simulated camera, opens a monitor session, reads bank 0xEE and gets the scenario's
// bytes; the log shows the connection, every timed transport call and the read.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include "device/CoreRun.h"

namespace {

using coretest::CoreRun;
using coretest::CoreSetup;
using coretest::RunCore;
using Lines = std::vector<std::string>;

// "[TIME]      12 msec. : Camera[0] : Evnt : MonOpen" -> "Camera[0] : Evnt : MonOpen";
// "" when the line does not have the timing layout.
std::string TimedCall(const std::string& line) {
    const std::string head = "[TIME] ";
    const std::string tail = " msec. : ";
    if (line.rfind(head, 0) != 0 || line.size() < head.size() + 7 + tail.size()) {
        return "";
    }
    const std::string field = line.substr(head.size(), 7);
    bool digitSeen = false;
    for (char ch : field) {
        if (std::isdigit(static_cast<unsigned char>(ch))) {
            digitSeen = true;
        } else if (ch != ' ' || digitSeen) {
            return "";
        }
    }
    if (!digitSeen || line.compare(head.size() + 7, tail.size(), tail) != 0) {
        return "";
    }
    return line.substr(head.size() + 7 + tail.size());
}

std::string HandleLine(std::uint32_t handle) {
    char text[64];
    std::snprintf(text, sizeof(text), "[VALU] hCamera[ 0 ] - 0x%08x( %10u )", handle, handle);
    return text;
}

TEST(MonitorRead, CounterBytesOfBankEEWithTheirLog) {
    CoreSetup setup;
    setup.scenario =
        "[Cameras]\nCount = 1\n[Camera0.Memory2]\n4097 = 01 e3 00 24 00 00 00 00 00 00\n";
    CoreRun run = RunCore(setup, {"open", "read=0xEE,4097,10"});
    ASSERT_EQ(run.results, (Lines{"0", "01e30024000000000000"})) << run.process.err;

    std::uint32_t handle = 0;
    for (const auto& call : run.journal) {
        if (call.function == "k2pConnectCamera") {
            handle = static_cast<std::uint32_t>(std::stoul(call.Field("h"), nullptr, 16));
        }
    }
    ASSERT_NE(handle, 0u);
    const int connected = run.Find(HandleLine(handle));
    ASSERT_GE(connected, 0) << HandleLine(handle);
    EXPECT_EQ(run.log.at(connected + 1), "[FUNC] OpenDevice - 0");

    // Everything after the open, with the timing lines reduced to camera and label.
    Lines after;
    for (std::size_t i = connected + 2; i < run.log.size(); ++i) {
        const std::string timed = TimedCall(run.log[i]);
        after.push_back(timed.empty() ? run.log[i] : "[TIME] " + timed);
    }
    const std::string clear = "[TIME] Camera[0] : Func : _k2pClearRemoteEventProcedureParameter";
    const std::string push = "[TIME] Camera[0] : Func : _k2pPushRemoteEventProcedureSendParameter";
    ASSERT_GE(after.size(), 18u);
    const Lines expected = {
        clear, push, "[TIME] Camera[0] : Evnt : MonOpen",
        clear, push, push, push, "[TIME] Camera[0] : Evnt : MonReadAndGetData",
        "[TIME] Camera[0] : Func : k2pGetReturnDataSize",
        "[TIME] Camera[0] : Func : k2pGetReturnDataForExecuteRemoteEventProcedure",
        "[MNTR] Read  : Bank = ee : Address = 0x1001 : Size =    10",
        "[MNTR]  Data[ 0000 ]  01 e3 00 24 00 00 00 00  00 00 ",
        clear, push, "[TIME] Camera[0] : Evnt : MonClose",
    };
    EXPECT_EQ(Lines(after.begin(), after.begin() + expected.size()), expected);
    // The monitor object's state goes with it.
    EXPECT_EQ(after.at(expected.size()).rfind("[VALU] _pImpl - ", 0), 0u);
    EXPECT_NE(after.at(expected.size()), "[VALU] _pImpl - 0");
    EXPECT_EQ(after.at(expected.size() + 1), "[VALU] _pImpl - 0");

    EXPECT_EQ(kvttest::SimTrace(run.journal), "MonOpen(0) MonReadAndGetData(2,4097,10) MonClose(0)");
}

}  // namespace
