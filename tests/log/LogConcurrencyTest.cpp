// Two processes append to one KvtDll.log at the same time, each through its own log
// writer: every committed line arrives exactly once, whole, in its process's order.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "support/TestSupport.h"

TEST(LogConcurrency, TwoProcessesLoseAndDuplicateNoLine) {
    const int kLines = 2000;
    const std::string workDir = kvttest::MakeFreshDir("concurrent");
    const std::string child = "\"" + kvttest::BinDir() + "log_child.exe\" lines ";
    kvttest::ProcessResult a, b;
    const auto start = std::chrono::steady_clock::now();
    // A child that cannot be started throws; it is reported on this thread.
    std::exception_ptr failures[2];
    auto run = [&](kvttest::ProcessResult& into, const char* tag, std::exception_ptr& failure) {
        try {
            into = kvttest::RunProcess(child + tag + " 2000", workDir, "", 240000);
        } catch (...) {
            failure = std::current_exception();
        }
    };
    std::thread first([&] { run(a, "A", failures[0]); });
    std::thread second([&] { run(b, "B", failures[1]); });
    first.join();
    second.join();
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("two processes x %d commits: %.2f s\n", kLines, seconds);
    ASSERT_EQ(a.exitCode, 0) << a.err;
    ASSERT_EQ(b.exitCode, 0) << b.err;

    std::vector<int> seenA(kLines, 0), seenB(kLines, 0);
    int nextA = 0, nextB = 0;
    bool inOrder = true;
    const std::vector<std::string> raw = kvttest::ReadLogLines(workDir + "KvtDll.log", false);
    for (const std::string& line : raw) {
        ASSERT_TRUE(line.size() > 13 && line.compare(10, 3, " | ") == 0)
            << "torn or unstamped line: " << line;
        const std::string text = line.substr(13);
        if (text.compare(0, 9, "[VALU] A ") == 0 || text.compare(0, 9, "[VALU] B ") == 0) {
            const int i = std::atoi(text.c_str() + 9);
            ASSERT_TRUE(i >= 0 && i < kLines) << line;
            const bool isA = text[7] == 'A';
            (isA ? seenA : seenB)[i]++;
            int& next = isA ? nextA : nextB;
            inOrder = inOrder && i == next;
            next = i + 1;
        }
    }
    for (int i = 0; i < kLines; ++i) {
        EXPECT_EQ(seenA[i], 1) << "A " << i;
        EXPECT_EQ(seenB[i], 1) << "B " << i;
    }
    EXPECT_TRUE(inOrder);
    if (!HasFailure()) {
        kvttest::RemoveTree(workDir);
    }
}
