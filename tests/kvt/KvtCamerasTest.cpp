// kvt with two cameras, with transport faults injected into the simulated camera, and
// with more than one plug-in: what it shows is what the factory API and its running
// registry do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Win32.h"
#include "tests/kvt/KvtFolder.h"
#include "tests/kvt/SharedFolderTest.h"
#include "tools/verck/VersionListFile.h"

namespace {

using kvtclitest::KvtFolder;
using kvtclitest::KvtRun;

// Two cameras; the second of the scenario is in tool mode, so the library makes it
// slot 0. They differ in body number, counter, quality code (JPEG / raw) and word 1
// of the release parameters.
const char kTwoCameras[] =
    "[Cameras]\nCount = 2\n"
    "[Camera0]\nToolMode = 0xFFFFFFFF\nBodyNumber = 113245012345\nJpegSize = 4096\nRawSize = 8192\n"
    "[Camera0.Memory2]\n4097 = 00 00 00 05 00 00 00 00 00 00\n"
    "[Camera0.Public]\n0x8000002F = 00 00 01 04\n0x80000002 = u32:11\n"
    "[Camera1]\nToolMode = 1\nBodyNumber = 223245054321\nJpegSize = 4096\nRawSize = 8192\n"
    "[Camera1.Memory2]\n4097 = 00 00 00 07 00 00 00 00 00 00\n"
    "[Camera1.Public]\n0x8000002F = 00 00 06 04\n0x80000002 = u32:22\n";

class KvtCameras : public kvtclitest::SharedFolderTest<KvtCameras> {
public:
    static constexpr const char* kPrefix = "kvt-cameras";
};

TEST_F(KvtCameras, TwoCamerasSlotZeroIsTheOneInToolMode) {
    s_folder->UseScenario(kTwoCameras);
    const KvtRun info = s_folder->Kvt({"info"});
    ASSERT_EQ(info.Exit(), 0) << info.Transcript();
    EXPECT_EQ(info.Line("Cameras"), "Cameras         2 (camera 0 is in tool mode)");
    EXPECT_EQ(info.Line("Body number").substr(0, 28), "Body number     223245054321");
    EXPECT_EQ(info.Line("Shutter count"), "Shutter count   7");

    // Slot 1 through the S exports: the other camera's word 1 and image.
    const KvtRun params = s_folder->Kvt({"release-params", "get", "--camera", "1"});
    ASSERT_EQ(params.Exit(), 0) << params.Transcript();
    EXPECT_EQ(params.Line("  Word[1] "), "  Word[1] = 11");
    const KvtRun slot0 = s_folder->Kvt({"release-params", "get", "--camera", "0", "--json"});
    EXPECT_NE(slot0.process.out.find("\"Word\":[3,22,"), std::string::npos) << slot0.Transcript();

    const KvtRun first = s_folder->Kvt({"release", "slot1", "--camera", "1"});
    ASSERT_EQ(first.Exit(), 0) << first.Transcript();
    EXPECT_EQ(first.out, std::vector<std::string>{s_folder->Path() + "slot1.jpg  4096 bytes"});
    const KvtRun zero = s_folder->Kvt({"release", "slot0"});
    ASSERT_EQ(zero.Exit(), 0) << zero.Transcript();
    EXPECT_EQ(zero.out, std::vector<std::string>{s_folder->Path() + "slot0.tr2  8192 bytes"});

    const KvtRun run = s_folder->Kvt({"run", "GetBodyID", "--camera", "1"});
    EXPECT_EQ(run.Exit(), 2) << run.Transcript();
}

TEST_F(KvtCameras, TwoCamerasWithoutOneInToolModeDoNotOpen) {
    s_folder->UseScenario("[Cameras]\nCount = 2\n[Camera0]\nToolMode = 0xFFFFFFFF\n"
                          "[Camera1]\nToolMode = 0xFFFFFFFF\n");
    const KvtRun run = s_folder->Kvt({"info", "--json"});
    EXPECT_EQ(run.Exit(), 35) << run.Transcript();
    EXPECT_TRUE(kvtclitest::IsOneJsonDocument(run.process.out)) << run.process.out;
    EXPECT_NE(run.process.out.find("\"step\":\"KVT_OpenDevice\",\"code\":35,"), std::string::npos)
        << run.process.out;
}

// A transport that fails mid-way: the code of the failing step, what was done before
// it, and no count or file that the camera did not deliver.
TEST_F(KvtCameras, TransportFaultsGiveTheFailingCode) {
    struct Case {
        const char* fault;   // lines of the scenario
        std::vector<std::string> args;
        int exit;
        const char* message;   // on standard error
        const char* line;      // on standard output ("" for none)
    };
    const Case cases[] = {
        {"[Camera0.Procedures]\nMonReadAndGetData.Status = 103\n",
         {"mem", "read", "238", "4117", "10"}, 103, "KVT_MonitorReadMemory failed with 103", ""},
        {"[Camera0.Procedures]\nMonReadAndGetData.Status#1 = 103\n", {"info"}, 103,
         "kvt info: KVT_MonitorReadMemory failed with 103",
         "Shutter count   KVT_MonitorReadMemory failed with 103 (passed on from the camera or its transport)"},
        {"[Camera0.Procedures]\nFA_GetProperty.Status#1 = 105\n", {"run", "GetBodyID"}, 105,
         "GetBodyID failed with 105", "GetBodyID = 105 (passed on from the camera or its transport)"},
        {"[Camera0.Procedures]\nFA_GetProperty.Status#100 = 107\n", {"prop", "dump", "broken"}, 107,
         "LoadPropertyData failed with 107", "99 property files written to "},
        // The library passes a failed release on as its own failure.
        {"[Camera0.Procedures]\nFA_RemoteRelease.Status = 103\n", {"release", "lost.jpg"}, 1,
         "KVT_ReleaseAndTransfer failed with 1", "no image written"},
        {"[Faults]\nk2pConnectCamera = 103\n", {"mem", "write", "238", "10", "00"}, 1,
         "KVT_OpenDevice failed with 1", ""},
    };
    for (const Case& c : cases) {
        s_folder->UseScenario(std::string("[Cameras]\nCount = 1\n[Camera0]\nToolMode = 0xFFFFFFFF\n") + c.fault);
        const KvtRun run = s_folder->Kvt(c.args);
        EXPECT_EQ(run.Exit(), c.exit) << c.fault << run.Transcript();
        EXPECT_NE(run.process.err.find(c.message), std::string::npos) << c.fault << run.Transcript();
        if (*c.line != '\0') {
            EXPECT_FALSE(run.Line(c.line).empty()) << c.fault << run.Transcript();
        } else {
            EXPECT_TRUE(run.out.empty()) << c.fault << run.Transcript();
        }
    }
}

// Two fixture plug-ins beside Pellor, both registering "FxWho": kvt lists the names
// as the running registry has them, so the plug-in it names for FxWho is the one
// whose procedure the library runs (FxWho returns the fixture's number).
TEST_F(KvtCameras, ProcsListsWhatEveryLoadedPlugInRegistered) {
    KvtFolder folder("kvt-plugins");
    ASSERT_TRUE(folder.Ok());
    const std::string plugIns = folder.Path() + "_Q517_\\PlugIn\\";
    ASSERT_TRUE(kvttest::CopyFileTo(kvttest::BinDir() + "kvtfx_full.dll", plugIns + "Full.q517"));
    ASSERT_TRUE(kvttest::CopyFileTo(kvttest::BinDir() + "kvtfx_second.dll", plugIns + "Second.q517"));
    ASSERT_TRUE(kvttest::WriteFileBytes(folder.Path() + "_Q517_\\Property\\verck", verck::EncodeList({
        {verck::Entry::Kind::PlugIn, "Pellor.q517", "1.1.0.0"},
        {verck::Entry::Kind::PlugIn, "Full.q517", "2.0.1.0"},
        {verck::Entry::Kind::PlugIn, "Second.q517", "3.0.0.0"},
        {verck::Entry::Kind::Ini, "BoardInf.ini", "1.0.0.0"},
        {verck::Entry::Kind::Ini, "Q517.ini", "1.0.0.0"},
    })));

    const KvtRun procs = folder.Kvt({"procs", "Fx"});
    ASSERT_EQ(procs.Exit(), 0) << procs.Transcript();
    // Both fixtures register the same six names: the later registration hides each.
    EXPECT_EQ(procs.out.back(), "6 of 137 registered names") << procs.Transcript();
    const std::string who = procs.LineWith(" FxWho ");
    ASSERT_FALSE(who.empty()) << procs.Transcript();
    const bool secondLast = who.find("Second.q517") != std::string::npos;
    EXPECT_TRUE(secondLast || who.find("Full.q517") != std::string::npos) << who;

    const KvtRun runWho = folder.Kvt({"run", "FxWho"});
    EXPECT_EQ(runWho.Exit(), secondLast ? 200 : 100) << who << "\n" << runWho.Transcript();

    // A procedure the reference does not know: its registered size and direction.
    EXPECT_NE(procs.LineWith(" FxFill8 ").find("    8 out       ?"), std::string::npos)
        << procs.Transcript();
    const KvtRun run = folder.Kvt({"run", "FxFill8", "--json"});
    ASSERT_EQ(run.Exit(), 0) << run.Transcript();
    EXPECT_NE(run.process.out.find("\"parameter\":\"bytes 8\",\"direction\":\"out\",\"size\":8,\"result\":0,"
                                   "\"meaning\":\"success\",\"output\":{\"bytes\":\"1122334455667788\"}"),
              std::string::npos)
        << run.process.out;
    const KvtRun code = folder.Kvt({"run", "FxCode", "u32:5", "text:abc"});
    EXPECT_EQ(code.Exit(), 41) << code.Transcript();
    EXPECT_EQ(code.Line("FxCode = "), "FxCode = 41 (passed on from the camera or its transport)");
}

}  // namespace
