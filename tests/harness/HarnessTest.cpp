// The test harness itself: a test program runs under wine64 beside Corvane.dll.
#include <gtest/gtest.h>

#include "core/GlobalTimer.h"
#include "support/TestSupport.h"

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
