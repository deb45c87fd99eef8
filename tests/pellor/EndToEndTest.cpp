// The shipped chain end to end: a copy of the deploy folder (TavolInfo.exe, oxrmsg.dll,
// Corvane.dll, the simulated KVTItoPTP.dll and VXSDK.dll, _Q517_/PlugIn/Pellor.q517,
// _Q517_/Property/verck and the INI files), a VXSDK.ini naming the model and a camera
// scenario whose counter records differ per address, so each count shows which
// address the tool read.
//
// GBK text: this file is compiled with the GBK execution character set, so the
// Chinese literals below are the GBK bytes the tool prints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Win32.h"
#include "support/TestSupport.h"

namespace {

// Two-counter records (b0 * 65535 + b1 * 255 + b3) and 3-byte big-endian counters.
const char kScenario[] =
    "[Cameras]\nCount = 1\n"
    "[Camera0]\nToolMode = 0xFFFFFFFF\n"
    "[Camera0.Memory2]\n"
    "4097 = 00 00 00 11 00 00 00 00 00 00\n"   // 17
    "4107 = 00 00 00 22 00 00 00 00 00 00\n"   // 34
    "4117 = 00 01 00 03 00 00 00 00 00 00\n"   // 258
    "4131 = 01 00 00 00 00 00 00 00 00 00\n"   // 65535
    "6661 = be24:77\n"
    "4933 = be24:88\n";

void CopyTree(const std::string& from, const std::string& to) {
    ::CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((from + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            CopyTree(from + name + "\\", to + name + "\\");
        } else {
            kvttest::CopyFileTo(from + name, to + name);
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

std::string DistDir() {
    std::string dir = KVT_DIST_DIR;
    for (char& c : dir) {
        c = c == '/' ? '\\' : c;
    }
    // A Unix path is reached through Wine's drive Z:.
    if (!dir.empty() && dir[0] == '\\') {
        dir = "Z:" + dir;
    }
    return dir + "\\";
}

struct ModelCase {
    const char* model;
    std::vector<std::string> counts;  // lines the result must show
};

class PellorEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::SetEnvironmentVariableA("VXSDK_SCENARIO", nullptr);
        ::SetEnvironmentVariableA("KVTSIM_SCENARIO", nullptr);
    }
    void TearDown() override {
        if (!HasFailure()) {
            for (const std::string& dir : _dirs) {
                kvttest::RemoveTree(dir);
            }
        }
    }
    kvttest::ProcessResult RunTool(const std::string& prefix, const std::string& model) {
        const std::string dir = kvttest::MakeFreshDir(prefix);
        _dirs.push_back(dir);
        CopyTree(DistDir(), dir);
        EXPECT_TRUE(kvttest::FileExists(dir + "TavolInfo.exe"));
        EXPECT_TRUE(kvttest::FileExists(dir + "oxrmsg.dll"));
        EXPECT_TRUE(kvttest::FileExists(dir + "_Q517_\\PlugIn\\Pellor.q517"));
        EXPECT_TRUE(kvttest::FileExists(dir + "_Q517_\\Property\\verck"));
        kvttest::WriteFileBytes(dir + "VXSDK.ini", "[Camera]\r\nProductName=" + model + "\r\n");
        kvttest::WriteFileBytes(dir + "KVTItoPTP.ini", kScenario);
        return kvttest::RunProcess("\"" + dir + "TavolInfo.exe\"", dir, "\n\n");
    }
    std::vector<std::string> _dirs;
};

TEST_F(PellorEndToEnd, CountsByModelThroughTheShippedLibraries) {
    const ModelCase cases[] = {
        {"Tavol OXR A05", {"快门数：258\r\n", "反光板数：34\r\n"}},
        {"Tavol OXR B02", {"快门数：17\r\n", "反光板数：65535\r\n"}},
        {"Tavol OXR S01", {"快门数：77\r\n"}},
        {"Tavol OXR S02", {"快门数：88\r\n"}},
        {"Tavol OXR Z99", {"快门数：17\r\n", "反光板数：34\r\n"}},
    };
    for (const ModelCase& c : cases) {
        SCOPED_TRACE(c.model);
        const kvttest::ProcessResult run = RunTool("e2e", c.model);
        ASSERT_TRUE(run.started);
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 0) << run.out;
        for (const std::string& line : c.counts) {
            EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
        }
        EXPECT_EQ(run.out.find("读取错误！"), std::string::npos) << run.out;
        if (c.counts.size() == 1) {
            EXPECT_EQ(run.out.find("反光板数："), std::string::npos) << run.out;
        }
    }
}

TEST_F(PellorEndToEnd, GroupNModelIsRefused) {
    const kvttest::ProcessResult run = RunTool("e2e-n", "Tavol OXR N03");
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    // "无法处理的产品型号。" in GBK, spelled out independently of the compiler's conversion.
    EXPECT_NE(run.out.find("\xCE\xDE\xB7\xA8\xB4\xA6\xC0\xED\xB5\xC4\xB2\xFA\xC6\xB7\xD0\xCD"
                           "\xBA\xC5\xA1\xA3"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("快门数："), std::string::npos) << run.out;
}

// The deploy folder as shipped: its default camera and its "BoardInf.ini" agree on where
// the A-board keeps the DL resonant frequency, so copying the board value into the
// camera leaves the default camera's frequency (0xA122) as it was.
TEST_F(PellorEndToEnd, ShippedBoardInfMatchesTheDefaultCamera) {
    const std::string dir = kvttest::MakeFreshDir("e2e-board");
    _dirs.push_back(dir);
    CopyTree(DistDir(), dir);
    ASSERT_TRUE(kvttest::FileExists(dir + "KVTItoPTP.ini"));
    ASSERT_TRUE(kvttest::FileExists(dir + "_Q517_\\Property\\BoardInf.ini"));
    kvttest::CopyFileTo(kvttest::BinDir() + "pellor_data_driver.exe", dir + "driver.exe");
    const kvttest::ProcessResult run = kvttest::RunProcess(
        "\"" + dir + "driver.exe\" open zero=4 execs=GetBoardInfDLResonantFrequency:4 "
        "exec=CopyDLResonantFrequency zero=4 execs=GetDLResonantFrequency:4",
        dir);
    ASSERT_TRUE(run.started);
    const char* expected[] = {
        "@@ open = 0",
        "@@ execs=GetBoardInfDLResonantFrequency:4 = 0 [22 a1 00 00",
        "@@ exec=CopyDLResonantFrequency = 0",
        "@@ execs=GetDLResonantFrequency:4 = 0 [22 a1 00 00",
    };
    for (const char* line : expected) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
    }
}

}  // namespace
