// Line formats of the library that tests in a child process cannot pin: the memory
// status for given byte counts, the duration line, the configuration word.
#include <gtest/gtest.h>

#include "common/LogFile.h"
#include "factory_api/MemoryDiagnostics.h"
#include "factory_api/ModuleState.h"
#include "factory_api/plugin/AutoTimer.h"
#include "support/TestSupport.h"

TEST(MemoryDiagnostics, MegabytesAreCountedIn1024000Bytes) {
    kvtlog::StartLogStaging();
    static kvtlog::LogStream log;   // 2 MB: not on the stack
    kvtq517::WriteGlobalMemoryStatus(log, 3072000000ull, 1024000000ull);
    const auto lines = kvttest::ReadLogLines("KvtDll.log");
    const int head = kvttest::FindLine(lines, "[KVTI] GlobalMemoryStatusInfo");
    ASSERT_GE(head, 1);
    EXPECT_EQ(lines[head - 1], "[----]");
    EXPECT_EQ(lines[head + 1], "[KVTI]   UsedMemory   : 2000[MB]");
    EXPECT_EQ(lines[head + 2], "[KVTI]   FreeMemory   : 1000[MB]");
    EXPECT_EQ(lines[head + 3], "[KVTI]   MemorySize   : 3000[MB]");
}

TEST(AutoTimer, TheDurationLineRightAlignsTheMilliseconds) {
    using kvtq517::CAutoTimer;
    EXPECT_EQ(CAutoTimer::FormatLine("[EVND] ElapsedTime  ", 42),
              "[EVND] ElapsedTime   =     42 msec.");
    EXPECT_EQ(CAutoTimer::FormatLine("[EVND] ElapsedTime  ", 1234567),
              "[EVND] ElapsedTime   = 1234567 msec.");
}

TEST(ModuleState, TheConfigurationWordNamesModelAndLayout) {
    EXPECT_EQ(kvtq517::kConfigurationWord, 0x05170001u);
    EXPECT_EQ(kvtq517::ModelFolderName(kvtq517::kModelID), "_Q517_");
    EXPECT_EQ(kvtq517::ModelDigits(0x8000000Au), "a");
}
