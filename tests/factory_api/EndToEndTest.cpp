// The whole chain in a deploy folder: a fixture plug-in, a version list and a property
// INI file; a factory program loads "oxrmsg.dll", opens the simulated camera, runs a
// registered procedure through both execute exports and reads camera memory.
#include <gtest/gtest.h>

#include "tests/factory_api/DeployFolder.h"

using namespace kvtq517test;

namespace {

// A build-machine path as the test program sees it under Wine.
std::string WinePath(const std::string& path) {
    return !path.empty() && path[0] == '/' ? "Z:" + path : path;
}

}  // namespace

TEST(EndToEnd, AFactoryProgramDrivesTheCameraThroughTheLibrary) {
    DeployFolder folder("endtoend");
    folder.WithCamera().WithPlugIn("kvtfx_full.dll", "Fixture.q517").WithStandardIni();

    // The version list comes from the verck program, as a developer writes it.
    const std::string list = folder.Path() + "verck.list";
    ASSERT_TRUE(kvttest::WriteFileBytes(list, "# test deploy folder\r\n"
                                              "plugin Fixture.q517 2.0.1.0\r\n"
                                              "ini Q517.ini 1.0.0.0\r\n"));
    const kvttest::ProcessResult tool = kvttest::RunProcess(
        "\"" + kvttest::BinDir() + "verck.exe\" verck.list _Q517_\\Property\\verck", folder.Path());
    ASSERT_EQ(tool.exitCode, 0) << tool.err;

    const DriverRun run = folder.Run({"open", "exec:FxFill8:8", "execs:FxFill8:8", "monopen",
                                      "bank:238", "read:4097:10", "monclose", "close"});
    ASSERT_EQ(run.results.size(), 8u) << run.process.out;
    EXPECT_EQ(run.results[0], "open = 0");
    EXPECT_EQ(run.results[1], "exec:FxFill8:8 = 0 [11 22 33 44 55 66 77 88]");
    EXPECT_EQ(run.results[2], "execs:FxFill8:8 = 0 [11 22 33 44 55 66 77 88]");
    EXPECT_EQ(run.results[3], "monopen = 0");
    EXPECT_EQ(run.results[4], "bank:238 = 0");
    EXPECT_EQ(run.results[5], "read:4097:10 = 0 [01 e3 00 24 00 00 00 00 00 00]");
    EXPECT_EQ(run.results[6], "monclose = 0");
    EXPECT_EQ(run.results[7], "close = 0");
    EXPECT_EQ(run.process.exitCode, 0);

    // Load and unload banners of the library, in that order.
    const int load = run.LogIndex("[CMNT]  KvtQ517.dll Initialize");
    const int unload = run.LogIndex("[CMNT]  KvtQ517.dll Terminate");
    ASSERT_GE(load, 1);
    ASSERT_GT(unload, load);
    EXPECT_EQ(run.log[load - 1], "[CMNT] " + std::string(79, '*'));
    EXPECT_EQ(run.log[unload + 1], "[CMNT] " + std::string(79, '*'));
    EXPECT_GE(run.LogIndex("[FUNC] Initialize - 0", load), 0);
    EXPECT_GE(run.LogIndex("[FUNC] DeregisterEventProcList - 0"), 0);
    EXPECT_LT(run.LogIndex("[FUNC] DeregisterEventProcList"),
              run.LogIndex("[FUNC] DeregisterPlugInList")) << "registry cleared before the free";
}

// The version list and the INI files that the deploy step ships pass both checks in a
// fresh folder (a fixture with the shipped plug-in's name and version stands in for it).
TEST(EndToEnd, TheDeployedVersionListPassesBothChecks) {
    DeployFolder folder("deployed");
    folder.WithCamera().WithPlugIn("kvtfx_shipped.dll", "Pellor.q517");
    ASSERT_TRUE(kvttest::CopyFileTo(WinePath(KVT_DEPLOY_VERCK), folder.PropertyDir() + "verck"));
    const std::string inis = KVT_DEPLOY_INIS;
    std::vector<std::string> names;
    for (std::size_t start = 0; start <= inis.size();) {
        std::size_t end = inis.find('|', start);
        if (end == std::string::npos) {
            end = inis.size();
        }
        const std::string path = inis.substr(start, end - start);
        names.push_back(path.substr(path.find_last_of('/') + 1));
        ASSERT_TRUE(kvttest::CopyFileTo(WinePath(path), folder.PropertyDir() + names.back()));
        start = end + 1;
    }
    const DriverRun run = folder.Run({"open", "exec:FxWho"});
    EXPECT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("exec:FxWho"), 400u);
    EXPECT_TRUE(run.HasLog("[FUNC] RegisterPlugInList - 0"));
    EXPECT_TRUE(run.HasLog("[FUNC] _CheckIniVersion - 0"));
    EXPECT_FALSE(run.LogContains("[CMNT] Not Registered - ")) << "every INI file is listed";
    for (const std::string& name : names) {
        EXPECT_NE(run.process.out.find("sort ->  " + name), std::string::npos) << name;
    }
}
