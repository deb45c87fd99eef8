// The release exports of the real library in a deploy-like folder: the release test
// program runs as a child process beside "oxrmsg.dll", Corvane.dll, the simulated
// camera and a plug-in that lets the load-time initialisation succeed, so the device
// opens through KVT_OpenDevice (with its ordering of two cameras).
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "common/Win32.h"
#include "factory_api/DeployFolder.h"
#include "support/SimCamera.h"
#include "support/TestSupport.h"

namespace {

struct ReleaseRun {
    kvttest::ProcessResult process;
    std::vector<std::string> results;   // "<command> = <result> ..."
    std::vector<std::string> log;
    std::vector<kvttest::SimCall> journal;

    unsigned long Code(const std::string& command) const {
        for (const std::string& line : results) {
            if (line.rfind(command + " = ", 0) == 0) {
                return std::strtoul(line.c_str() + command.size() + 3, nullptr, 10);
            }
        }
        return 0xFFFFFFFFul;
    }
    std::vector<unsigned long> Words(const std::string& command) const {
        std::vector<unsigned long> words;
        for (const std::string& line : results) {
            if (line.rfind(command + " = ", 0) == 0) {
                std::istringstream in(line.substr(command.size() + 3));
                unsigned long code = 0, w = 0;
                in >> code;
                while (in >> w) {
                    words.push_back(w);
                }
            }
        }
        return words;
    }
    // The executes after the first one of `procedure`, of one name ("" = all).
    std::vector<kvttest::SimCall> ExecutesFrom(const std::string& first,
                                               const std::string& procedure) const {
        std::vector<kvttest::SimCall> all = kvttest::SimExecutes(journal);
        std::vector<kvttest::SimCall> out;
        bool started = false;
        for (const auto& call : all) {
            started = started || call.procedure == first;
            if (started && (procedure.empty() || call.procedure == procedure)) {
                out.push_back(call);
            }
        }
        return out;
    }
};

ReleaseRun RunRelease(const kvtq517test::DeployFolder& folder,
                      const std::vector<std::string>& commands) {
    const std::string dir = folder.Path();
    kvttest::CopyFileTo(kvttest::BinDir() + "release_driver.exe", dir + "release_driver.exe");
    std::string commandLine = "\"" + dir + "release_driver.exe\"";
    for (const std::string& c : commands) {
        commandLine += " \"" + c + "\"";
    }
    const std::string journal = dir + "journal.txt";
    ::SetEnvironmentVariableA("KVTSIM_JOURNAL", journal.c_str());
    ReleaseRun run;
    run.process = kvttest::RunProcess(commandLine, dir);
    ::SetEnvironmentVariableA("KVTSIM_JOURNAL", nullptr);
    std::istringstream out(run.process.out);
    std::string line;
    while (std::getline(out, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind("@@ ", 0) == 0) {
            run.results.push_back(line.substr(3));
        }
    }
    run.log = kvttest::ReadLogLines(dir + "KvtDll.log");
    if (kvttest::FileExists(journal)) {
        run.journal = kvttest::ReadSimJournalFile(journal);
    }
    return run;
}

// Cameras told apart by the size of their JPEG image; quality code 1 (JPEG only).
std::string Cameras(const std::string& toolMode0, const std::string& toolMode1) {
    std::string text = "[Cameras]\nCount = " + std::string(toolMode1.empty() ? "1" : "2") + "\n";
    const std::string modes[] = {toolMode0, toolMode1};
    for (int i = 0; i < (toolMode1.empty() ? 1 : 2); ++i) {
        const std::string n = std::to_string(i);
        text += "[Camera" + n + "]\nToolMode = " + modes[i] + "\nJpegSize = " +
                std::to_string(3000 + 1000 * i) + "\n[Camera" + n + ".Public]\n" +
                "0x8000002F = 00 00 01 04\n0x00000000 = u32:1\n0x80000028 = u32:129\n";
    }
    return text;
}

TEST(ReleaseDeploy, MvtOnAClosedDeviceReturns29WithoutTouchingTheFixedFlag) {
    kvtq517test::DeployFolder folder = kvtq517test::ReadyFolder("closed");
    folder.WithCamera(Cameras("0xFFFFFFFF", ""));
    const ReleaseRun run = RunRelease(folder, {"mvt:before", "open", "close", "mvt:after"});
    ASSERT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("mvt:before"), 29u);
    EXPECT_EQ(run.Code("mvt:after"), 29u);
    for (const auto& call : kvttest::SimExecutes(run.journal)) {
        EXPECT_NE(call.procedure, "FA_RemoteRelease");
        EXPECT_FALSE(call.procedure == "FA_GetProperty" && call.Param(0) == 0);
    }
    const int entry = kvttest::FindLine(run.log, "[KVTI] MVT_ReleaseAndTransfer");
    ASSERT_GE(entry, 0);
    EXPECT_EQ(kvttest::FindLine(run.log, "[ERR!] - [ERR!] OpenDevice Error.", entry), entry + 1);
    EXPECT_EQ(kvttest::FindLine(run.log, "[KVTI] MVT_ReleaseAndTransfer - 29", entry), entry + 2);
    EXPECT_EQ(kvttest::FindLine(run.log, "[FUNC] _GetFixedFlag"), -1);
    EXPECT_FALSE(kvttest::FileExists(folder.Path() + "before.jpg"));
}

// Camera 1 of the scenario reports a tool mode, so KVT_OpenDevice makes it slot 0 and
// scenario camera 0 becomes slot 1.
TEST(ReleaseDeploy, TheSlotExportsFollowTheOpenedOrderAndEndOnSlot0) {
    kvtq517test::DeployFolder folder = kvtq517test::ReadyFolder("slots");
    folder.WithCamera(Cameras("0xFFFFFFFF", "0"));
    const ReleaseRun run =
        RunRelease(folder, {"open", "rts:slot1:1", "rt:slot0", "sets:3:1", "gets:1", "mvt:fixed"});
    ASSERT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("rts:slot1:1"), 0u);
    EXPECT_EQ(run.Code("rt:slot0"), 0u);
    EXPECT_EQ(kvttest::ReadFileBytes(folder.Path() + "slot1.jpg").size(), 3000u);
    EXPECT_EQ(kvttest::ReadFileBytes(folder.Path() + "slot0.jpg").size(), 4000u);
    const auto finishes = run.ExecutesFrom("FA_RemoteRelease", "FA_FinishRemoteRelease");
    ASSERT_EQ(finishes.size(), 3u);
    EXPECT_EQ(finishes[0].camera, 0);   // slot 1
    EXPECT_EQ(finishes[1].camera, 1);   // slot 0 again
    EXPECT_EQ(finishes[2].camera, 1);   // MVT on slot 0

    EXPECT_EQ(run.Code("sets:3:1"), 0u);
    for (const auto& call : run.ExecutesFrom("FA_RemoteRelease", "FA_SetProperty")) {
        if (call.Param(0) != 0) {   // the fixed-flag writes of MVT are on slot 0
            EXPECT_EQ(call.camera, 0) << std::hex << call.Param(0);
        }
    }
    EXPECT_EQ(run.Code("gets:1"), 0u);
    const std::vector<unsigned long> words = run.Words("gets:1");
    ASSERT_EQ(words.size(), 20u);
    EXPECT_EQ(words[0], 3u);
    EXPECT_EQ(words[9], 1u);
    EXPECT_EQ(words[16], 0xDEADBEEFu);

    EXPECT_EQ(run.Code("mvt:fixed"), 0u);
    std::vector<std::uint32_t> flagWrites;
    for (const auto& call : run.ExecutesFrom("FA_RemoteRelease", "FA_SetProperty")) {
        if (call.Param(0) == 0 && call.params.size() == 3) {
            flagWrites.push_back(call.params[2].U32());
            EXPECT_EQ(call.camera, 1);
        }
    }
    EXPECT_EQ(flagWrites, (std::vector<std::uint32_t>{0x401, 0x001}));
    EXPECT_GE(kvttest::FindLine(run.log, "[KVTI] KVT_ReleaseAndTransferS - 0"), 0);
}

}  // namespace
