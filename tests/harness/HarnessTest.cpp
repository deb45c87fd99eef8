// The test harness itself: a test program runs under wine64 beside Corvane.dll, and
// starts child processes through one mechanism (support/ProcessStart.h).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "common/Handles.h"
#include "core/GlobalTimer.h"
#include "support/ProcessStart.h"
#include "support/TestSupport.h"

namespace {

std::string Child(const std::string& args) {
    return "\"" + kvttest::BinDir() + "harness_child.exe\" " + args;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The process named by "grandchild <pid>" in the output has ended (or never ran).
bool GrandchildEnded(const std::string& out) {
    const std::size_t at = out.find("grandchild ");
    if (at == std::string::npos) {
        ADD_FAILURE() << "no grandchild in: " << out;
        return false;
    }
    const DWORD pid = std::strtoul(out.c_str() + at + 11, nullptr, 10);
    kvt::UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, pid));
    return !process || ::WaitForSingleObject(process.Get(), 10000) == WAIT_OBJECT_0;
}

}  // namespace

TEST(Harness, TimeStampHasTheFieldWidth) {
    const unsigned long width = 10;
    std::string stamp = _gt(width);
    ASSERT_EQ(stamp.size(), 13u);
    EXPECT_EQ(stamp.substr(10), " | ");
}

TEST(Harness, ChildProcessRunsWithInputAndOutput) {
    kvttest::ProcessResult r = kvttest::RunProcess("cmd.exe /c more", "", "abc\r\n");
    ASSERT_TRUE(r.started);
    EXPECT_NE(r.out.find("abc"), std::string::npos);
}

// A child that cannot be started is tried twice and reported as a failure of the
// harness, with the error of each attempt and the command line.
TEST(Harness, StartFailureIsAHarnessFailure) {
    const std::string command = "\"" + kvttest::BinDir() + "no-such-program.exe\" x";
    try {
        kvttest::RunProcess(command, "");
        FAIL() << "a missing program started";
    } catch (const kvttest::HarnessFailure& failure) {
        const std::string text = failure.what();
        EXPECT_EQ(text.rfind("HARNESS: ", 0), 0u) << text;
        EXPECT_NE(text.find("error 2 "), std::string::npos) << text;
        EXPECT_NE(text.find(", then error 2 "), std::string::npos) << "tried once more: " << text;
        EXPECT_NE(text.find(command), std::string::npos) << text;
        EXPECT_NE(text.find("not a test result"), std::string::npos) << text;
    }
}

// Only the three standard handles go to the child: not a handle of this process that
// is inheritable (as another thread's pipe ends are while it starts its own child).
TEST(Harness, ChildInheritsOnlyItsStandardHandles) {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    kvt::UniqueKernelHandle stray(::CreateEventA(&inheritable, FALSE, FALSE, nullptr));
    ASSERT_TRUE(stray);
    const auto value = reinterpret_cast<std::uintptr_t>(stray.Get());
    const kvttest::ProcessResult r = kvttest::RunProcess(Child("handle " + std::to_string(value)), "");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "absent\r\n");
}

// A child killed at its time limit takes what it started along, and its output pipe
// closes: the run ends at the limit, not when a grandchild holding the pipe ends.
TEST(Harness, TimedOutChildEndsWithEverythingItStarted) {
    const auto start = std::chrono::steady_clock::now();
    const kvttest::ProcessResult r = kvttest::RunProcess(Child("spawn wait"), "", "", 3000);
    EXPECT_TRUE(r.timedOut);
    EXPECT_LT(Seconds(start), 30.0);
    EXPECT_TRUE(GrandchildEnded(r.out));
}

// A child that ends while something it started still runs: the run ends with the
// child, its output complete, and nothing it started outlives it.
TEST(Harness, ChildLeavesNothingRunning) {
    const auto start = std::chrono::steady_clock::now();
    const kvttest::ProcessResult r = kvttest::RunProcess(Child("spawn exit"), "");
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_LT(Seconds(start), 30.0);
    EXPECT_TRUE(GrandchildEnded(r.out));
}
