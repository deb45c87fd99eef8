// TavolInfo run as a child process in a folder laid out like a deploy folder:
// TavolInfo.exe and VXSDK.dll from the build, a VXSDK.ini, and (in some cases) a
// test double of the factory API library copied in as oxrmsg.dll.
//
// GBK text: this file is compiled with the GBK execution character set, so the
// Chinese literals below are the GBK bytes the tool must print.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Win32.h"
#include "console/Banner.h"
#include "support/TestSupport.h"

namespace {

// Bytes the double serves: the counts tell which address was read.
//   4117 -> 257   4107 -> 65535   4097 -> 5   4131 -> 16776705  (two-counter records)
//   6661 -> 258   4933 -> 65536                                  (one-counter records)
const char kScript[] =
    "read 4117 00 01 09 02 00 00 00 00 00 07\n"
    "read 4107 01 00 00 00\n"
    "read 4097 00 00 00 05\n"
    "read 4131 FF FF FF FF\n"
    "read 6661 00 01 02\n"
    "read 4933 01 00 00\n";

const char kPrompt[] = "按回车键输出最终结果！\r\n";
const char* const kConsoleOnly[] = {"按回车键输出最终结果！", "正在使用TavolSDK检测相机！",
                                    "SDK检测功能完成！", "[Debug]"};

std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

// The lines of a text, each with its line feed.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::string Ini(const std::string& productName, const std::string& more = std::string()) {
    return "[Camera]\r\nProductName=" + productName + "\r\n" + more;
}

// The four property lines for the scenario's default body number, firmware and lens.
std::string Identified(const std::string& productName) {
    return "产品名：" + productName + "\n机身标号：2041007315\n固件版本：1.0.2\n"
           "当前镜头：TVL 24-70mm f/2.8\n";
}

const char kTwoCounterCalls[] =
    "KVT_OpenDevice\nKVT_MonitorOpenSession\nKVT_MonitorChangeBank 238\n"
    "KVT_MonitorReadMemory %S 10\nKVT_MonitorReadMemory %M 10\n"
    "KVT_MonitorCloseSession\nKVT_CloseDevice\n";

std::string TwoCounterCalls(int shutter, int mirror) {
    std::string calls = kTwoCounterCalls;
    calls.replace(calls.find("%S"), 2, std::to_string(shutter));
    calls.replace(calls.find("%M"), 2, std::to_string(mirror));
    return calls;
}

std::string OneCounterCalls(int address) {
    return "KVT_OpenDevice\nKVT_MonitorOpenSession\nKVT_MonitorChangeBank 238\n"
           "KVT_MonitorReadMemory " + std::to_string(address) + " 3\n"
           "KVT_MonitorCloseSession\nKVT_CloseDevice\n";
}

const char kOpeningCalls[] =
    "KVT_OpenDevice\nKVT_MonitorOpenSession\nKVT_MonitorChangeBank 238\n";

enum class Library { None, Fake, FakeWithoutReadMemory };

struct ProgramCase {
    const char* name;
    std::string ini;      // VXSDK.ini; empty: no file, the SDK's defaults
    Library library;
    std::string script;   // the double's script
    int exitCode;
    std::string result;   // the result text after the banner
    std::string calls;    // the double's call log
    std::string console;  // must also be on the console before the closing prompt
};

struct ToolRun {
    kvttest::ProcessResult process;
    std::string console;  // output up to and with the closing prompt
    std::string shown;    // output after it (cls, the result text, pause)
    std::string calls;
};

// Removes terminal control sequences and control bytes that "cls" may write.
std::string WithoutScreenControl(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == 0x1B) {
            if (i + 1 < s.size() && s[i + 1] == '[') {
                i += 2;
                while (i < s.size() && !((s[i] >= 'A' && s[i] <= 'Z') || (s[i] >= 'a' && s[i] <= 'z'))) {
                    ++i;
                }
            } else {
                ++i;  // two-byte sequence such as ESC c
            }
        } else if (c >= 0x20 || c == '\r' || c == '\n') {
            out += s[i];
        }
    }
    return out;
}

class TavolInfoProgram : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The children must read the VXSDK.ini beside the DLL.
        ::SetEnvironmentVariableA("VXSDK_SCENARIO", nullptr);
    }

    ToolRun RunTool(const ProgramCase& c) {
        ToolRun run;
        _dir = kvttest::MakeFreshDir(c.name);
        EXPECT_FALSE(_dir.empty());
        std::string bin = kvttest::BinDir();
        EXPECT_TRUE(kvttest::CopyFileTo(bin + "TavolInfo.exe", _dir + "TavolInfo.exe"));
        EXPECT_TRUE(kvttest::CopyFileTo(bin + "VXSDK.dll", _dir + "VXSDK.dll"));
        if (!c.ini.empty()) {
            EXPECT_TRUE(kvttest::WriteFileBytes(_dir + "VXSDK.ini", c.ini));
        }
        if (c.library != Library::None) {
            const char* file =
                c.library == Library::Fake ? "FakeOxrmsg.dll" : "FakeOxrmsgIncomplete.dll";
            EXPECT_TRUE(kvttest::CopyFileTo(bin + file, _dir + "oxrmsg.dll"));
            EXPECT_TRUE(kvttest::WriteFileBytes(_dir + "oxrmsg-script.txt", c.script));
        }
        run.process = kvttest::RunProcess("\"" + _dir + "TavolInfo.exe\"", _dir, "\n\n");
        const std::string& out = run.process.out;
        std::size_t prompt = out.find(kPrompt);
        if (prompt != std::string::npos) {
            run.console = out.substr(0, prompt + std::string(kPrompt).size());
            run.shown = out.substr(run.console.size());
        }
        run.calls = kvttest::ReadFileBytes(_dir + "oxrmsg-calls.txt");
        return run;
    }

    void TearDown() override {
        if (!HasFailure() && !_dir.empty()) {
            kvttest::RemoveTree(_dir);
        }
    }

    ToolRun Check(const ProgramCase& c) {
        SCOPED_TRACE(c.name);
        ToolRun run = RunTool(c);
        EXPECT_TRUE(run.process.started);
        EXPECT_FALSE(run.process.timedOut);
        EXPECT_EQ(run.process.exitCode, c.exitCode);
        if (run.console.empty()) {
            ADD_FAILURE() << "no closing prompt in:\n" << run.process.out;
            return run;
        }

        // Shown after the screen was cleared: exactly the result text and a line feed
        // (the console's text mode writes CR LF), then whatever "pause" prints.
        std::string expected = Crlf(std::string(tavol::kBanner) + c.result + "\n");
        std::string shown = WithoutScreenControl(run.shown);
        EXPECT_EQ(shown.substr(0, expected.size()), expected);
        // After it only the interpreter's one-line pause prompt: no further text of the
        // tool's (its texts are GBK, bytes from 0x80 up).
        if (shown.size() > expected.size()) {
            const std::string rest = shown.substr(expected.size());
            EXPECT_EQ(rest.find('\n'), std::string::npos) << rest;
            for (unsigned char b : rest) {
                EXPECT_LT(b, 0x80) << rest;
            }
        }
        for (const char* line : kConsoleOnly) {
            EXPECT_EQ(shown.find(line), std::string::npos) << line;
        }
        // Every reported line was on the console too, in order, before the prompt.
        std::size_t at = 0;
        for (const std::string& line : Lines(c.result)) {
            at = run.console.find(Crlf(line), at);
            if (at == std::string::npos) {
                ADD_FAILURE() << line << " not on the console:\n" << run.console;
                break;
            }
        }
        if (!c.console.empty()) {
            EXPECT_NE(run.console.find(Crlf(c.console)), std::string::npos) << run.console;
        }
        EXPECT_EQ(run.calls, c.calls);
        return run;
    }

    std::string _dir;
};

TEST_F(TavolInfoProgram, FactoryLibraryMissingOrIncomplete) {
    const ProgramCase cases[] = {
        {"no-library", Ini("Tavol OXR A05"), Library::None, "", -1, "dll载入错误！\n", "", ""},
        {"incomplete-library", Ini("Tavol OXR A05"), Library::FakeWithoutReadMemory, kScript, -1,
         "dll载入错误！\n", "", ""},
    };
    for (const ProgramCase& c : cases) {
        ToolRun run = Check(c);
        // Nothing after the failed binding ran.
        EXPECT_EQ(run.console.find("正在使用TavolSDK检测相机！"), std::string::npos) << c.name;
        // "dll载入错误！" in GBK, spelled out independently of the compiler's conversion.
        EXPECT_NE(run.process.out.find("dll\xD4\xD8\xC8\xEB\xB4\xED\xCE\xF3\xA3\xA1\r\n"),
                  std::string::npos);
    }
}

TEST_F(TavolInfoProgram, CameraIdentificationFailures) {
    const ProgramCase cases[] = {
        {"no-camera", "[Camera]\r\nPresent=0\r\n", Library::Fake, kScript, -1, "", "",
         "正在使用TavolSDK检测相机！\n"},
        {"session-fails", "[Fail]\r\nOpenSession=1\r\n", Library::Fake, kScript, -1, "", "",
         "正在使用TavolSDK检测相机！\n"},
        {"sdk-start-fails", "[Fail]\r\nStartUp=1\r\n", Library::Fake, kScript, 0, "SDK出错！\n",
         "", ""},
    };
    for (const ProgramCase& c : cases) {
        Check(c);
    }
}

TEST_F(TavolInfoProgram, ReadsTheCountersOfTheModel) {
    const ProgramCase cases[] = {
        {"default-camera-group-a", "", Library::Fake, kScript, 0,
         Identified("Tavol OXR A05") + "快门数：257\n反光板数：65535\n", TwoCounterCalls(4117, 4107),
         "SDK检测功能完成！即将使用oxrmsg获取快门数反光板信息\n"
         "[Debug]ShotAddr=4117  Data=0  1  9  2  0  0  0  0  0  7  \n"
         "[Debug]MirrorUpAddr=4107  Data=1  0  0  0  0  0  0  0  0  0  \n"},
        {"group-b-lower-case", Ini("tavol oxr b03"), Library::Fake, kScript, 0,
         Identified("tavol oxr b03") + "快门数：5\n反光板数：16776705\n", TwoCounterCalls(4097, 4131),
         ""},
        {"s1", Ini("Tavol OXR S01"), Library::Fake, kScript, 0,
         Identified("Tavol OXR S01") + "快门数：258\n", OneCounterCalls(6661),
         "[Debug]ShotAddr=6661  Data=0  1  2  \n"},
        {"s2-capitals", Ini("TAVOL OXR S02"), Library::Fake, kScript, 0,
         Identified("TAVOL OXR S02") + "快门数：65536\n", OneCounterCalls(4933), ""},
        {"n07-default", Ini("Tavol OXR N07"), Library::Fake, kScript, 0,
         Identified("Tavol OXR N07") + "快门数：5\n反光板数：65535\n", TwoCounterCalls(4097, 4107),
         ""},
        {"unknown-default", Ini("Tavol OXR Z99"), Library::Fake, kScript, 0,
         Identified("Tavol OXR Z99") + "快门数：5\n反光板数：65535\n", TwoCounterCalls(4097, 4107),
         ""},
        // An unscripted address delivers nothing: the zeroed record counts 0.
        {"nothing-delivered", Ini("Tavol OXR A01"), Library::Fake, "read 4107 00 00 00 03\n", 0,
         Identified("Tavol OXR A01") + "快门数：0\n反光板数：3\n", TwoCounterCalls(4117, 4107), ""},
    };
    for (const ProgramCase& c : cases) {
        Check(c);
    }
}

TEST_F(TavolInfoProgram, ReadsNothingForFactoryModeAndGroupN) {
    const ProgramCase cases[] = {
        {"factory-mode", Ini("TAVOL OXR FACTORYCONNECT"), Library::Fake, kScript, 0,
         Identified("TAVOL OXR FACTORYCONNECT") + "当前处于工厂模式，请退出后再次测试！\n", "",
         "SDK检测功能完成！即将使用oxrmsg获取快门数反光板信息\n"},
        {"group-n", Ini("Tavol OXR N03"), Library::Fake, kScript, 0,
         Identified("Tavol OXR N03") + "无法处理的产品型号。\n", "", ""},
    };
    for (const ProgramCase& c : cases) {
        Check(c);
    }
}

TEST_F(TavolInfoProgram, FailedOpeningReportsOnceAndCountsMinusOne) {
    const std::string failBank = std::string(kScript) + "fail KVT_MonitorChangeBank\n";
    const ProgramCase cases[] = {
        {"bank-fails-two", Ini("Tavol OXR A05"), Library::Fake, failBank, 0,
         Identified("Tavol OXR A05") + "读取错误！\n快门数：-1\n反光板数：-1\n", kOpeningCalls, ""},
        {"bank-fails-one", Ini("Tavol OXR S01"), Library::Fake, failBank, 0,
         Identified("Tavol OXR S01") + "读取错误！\n快门数：-1\n", kOpeningCalls, ""},
        // The first step failing does not skip the other two.
        {"device-fails", Ini("Tavol OXR B01"), Library::Fake,
         std::string(kScript) + "fail KVT_OpenDevice\n", 0,
         Identified("Tavol OXR B01") + "读取错误！\n快门数：-1\n反光板数：-1\n", kOpeningCalls, ""},
    };
    for (const ProgramCase& c : cases) {
        Check(c);
    }
}

TEST_F(TavolInfoProgram, OverLongValuesAreCutToTheirBuffers) {
    // The product name buffer holds 31 bytes and a zero, the others 199 and a zero.
    // A cut never leaves half of a double-byte character: 150 times "镜" (300 bytes)
    // is cut to 99 characters (198 bytes).
    std::string lens99;
    for (int i = 0; i < 99; ++i) {
        lens99 += "镜";
    }
    std::string body199;
    while (body199.size() < 199) {
        body199 += "0123456789";
    }
    body199.resize(199);
    const ProgramCase c = {
        "over-long",
        Ini("Tavol OXR A05", "ProductNameLength=40\r\nBodyNumber=0123456789\r\n"
                             "BodyNumberLength=250\r\nLens=镜\r\nLensLength=300\r\n"),
        Library::Fake, kScript, 0,
        "产品名：Tavol OXR A05Tavol OXR A05Tavol\n机身标号：" + body199 +
            "\n固件版本：1.0.2\n当前镜头：" + lens99 + "\n快门数：5\n反光板数：65535\n",
        TwoCounterCalls(4097, 4107), ""};
    Check(c);
}

}  // namespace
