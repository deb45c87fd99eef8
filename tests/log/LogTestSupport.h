// A fixture for tests that commit through the test program's own log writer into
// ./KvtDll.log: the file is removed before each test and the staging buffer exists.
#pragma once

#include <gtest/gtest.h>

#include <iomanip>
#include <string>
#include <vector>

#include "common/LogFile.h"
#include "common/LogStream.h"
#include "common/Win32.h"
#include "support/TestSupport.h"

class LogFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::DeleteFileA(LogPath().c_str());
        ASSERT_FALSE(kvttest::FileExists(LogPath()));
        kvtlog::StartLogStaging();
        ASSERT_TRUE(kvtlog::HasLogStaging());
        Stream().Empty();
    }
    void TearDown() override {
        Stream().Empty();
        Stream() << std::dec << std::setfill(' ');
        kvtlog::StartLogStaging();
    }

    static std::string LogPath() { return kvttest::CurrentDir() + "KvtDll.log"; }
    static std::string FileText() { return kvttest::ReadFileBytes(LogPath()); }
    static std::vector<std::string> FileLines(bool stripStamp = true) {
        return kvttest::ReadLogLines(LogPath(), stripStamp);
    }
    // One stream for all tests: it is 2 MB large, too large for the stack.
    static kvtlog::LogStream& Stream() {
        static kvtlog::LogStream s;
        return s;
    }
};
