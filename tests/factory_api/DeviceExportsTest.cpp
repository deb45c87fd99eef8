// KVT_OpenDevice and KVT_CloseDevice from a fresh process each: the load result, the
// one- and two-camera configuration, the function lists and the memory diagnostics.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/factory_api/DeployFolder.h"

using namespace kvtq517test;

TEST(OpenDevice, WithoutPlugInEveryOpenReturnsTheLoadResultAndLeavesTheCameraAlone) {
    DeployFolder folder("noplugin");
    folder.WithCamera().WithStandardIni().WithVersionList({IniEntry(kIniName, kIniVersion)});
    const DriverRun run = folder.Run({"open", "open", "transport"});
    EXPECT_EQ(run.Code("open"), 35u);
    ASSERT_EQ(run.results.size(), 3u);
    EXPECT_EQ(run.results[1], "open = 35");
    EXPECT_EQ(run.Code("transport"), 0u) << "the simulated camera was loaded";
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] PlugInList.size()"));
    EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 35"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] m_InitializingResult"));
    EXPECT_FALSE(run.HasLog("[FUNC] OpenDevice"));
    EXPECT_FALSE(run.LogContains("ExecuteInitializeFunc"));
}

TEST(OpenDevice, OneCameraNeedsNoConfigurationAndOpens) {
    DeployFolder folder = ReadyFolder("onecamera");
    folder.WithCamera();
    const DriverRun run = folder.Run({"open", "exec:FxInitCount", "open", "exec:FxInitCount"});
    ASSERT_EQ(run.results.size(), 4u) << run.process.out;
    EXPECT_EQ(run.results[0], "open = 0");
    EXPECT_EQ(run.results[1].substr(0, 21), "exec:FxInitCount = 1 ");
    EXPECT_EQ(run.results[2], "open = 0");
    EXPECT_EQ(run.results[3].substr(0, 21), "exec:FxInitCount = 2 ")
        << "the initialize functions run at every open";
    const int configure = run.LogIndex("[FUNC] ConfigureConcurrentConnection");
    ASSERT_GE(configure, 0);
    EXPECT_EQ(run.log[configure - 1], "[----]");
    EXPECT_GE(run.LogIndex("[VALU] Connected CameraCount - 1", configure), 0);
    EXPECT_GE(run.LogIndex("[ERR!] - [VALU] Need Not Configure", configure), 0);
    EXPECT_GE(run.LogIndex("[FUNC] ConfigureConcurrentConnection - 0", configure), 0);
    EXPECT_GE(run.LogIndex("[KVTI] KVT_OpenDevice - 0", configure), 0);
    EXPECT_TRUE(run.HasLog("InitializeFuncList.size() - 1"));
    EXPECT_NE(run.process.out.find("Global Timer Restart"), std::string::npos);
}

// Two cameras: only a single camera in tool mode is accepted, and it becomes slot 0.
TEST(OpenDevice, TwoCamerasAreOrderedByToolMode) {
    struct Case {
        const char* mode0;
        const char* mode1;
        unsigned long open;
        const char* slot0Bytes;   // what slot 0 reads after the open
    } cases[] = {
        {"ffffffff", "00000002", 0, "c1 c1 c1 c1"},   // exchanged
        {"00000002", "ffffffff", 0, "c0 c0 c0 c0"},   // kept
        {"ffffffff", "ffffffff", 35, nullptr},        // neither
        {"00000001", "00000002", 35, nullptr},        // both
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode0) + " / " + c.mode1);
        DeployFolder folder = ReadyFolder("twocameras");
        folder.WithCamera(TwoCameraScenario(std::string("0x") + c.mode0, std::string("0x") + c.mode1));
        const DriverRun run = folder.Run({"open", "monopen", "bank:238", "read:4097:4"});
        EXPECT_EQ(run.Code("open"), c.open) << run.process.out;
        for (const std::string& line : {std::string("ToolMode[ 00 ] - 0x") + c.mode0,
                                       std::string("ToolMode[ 01 ] - 0x") + c.mode1}) {
            EXPECT_TRUE(run.HasLog("[VALU] " + line)) << line;
            EXPECT_NE(run.process.out.find("\n" + line), std::string::npos) << line;
        }
        EXPECT_TRUE(run.HasLog("[VALU] Connected CameraCount - 2"));
        // Each line is in the file before the next camera is asked.
        const int secondAsked = kvttest::FindLineContaining(run.log, "Camera[1] : Evnt : FA_GetProperty");
        ASSERT_GE(secondAsked, 0);
        EXPECT_LT(run.LogIndex(std::string("[VALU] ToolMode[ 00 ] - 0x") + c.mode0), secondAsked);
        if (c.open == 0) {
            EXPECT_EQ(run.Result("read:4097:4"),
                      std::string("read:4097:4 = 0 [") + c.slot0Bytes + "]");
        } else {
            EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] ToolMode"));
            EXPECT_TRUE(run.HasLog("[FUNC] ConfigureConcurrentConnection - 35"));
            EXPECT_TRUE(run.HasLog("[ERR!] - [FUNC] ConfigureConcurrentConnection"));
            EXPECT_TRUE(run.HasLog("[KVTI] KVT_OpenDevice - 35"));
        }
    }
}

TEST(CloseDevice, RunsTheTerminateFunctionsAndClearsTheOpenFlag) {
    DeployFolder folder = ReadyFolder("close");
    folder.WithCamera();
    const DriverRun run = folder.Run({"close", "open", "close", "exec:FxEcho"});
    ASSERT_EQ(run.results.size(), 4u) << run.process.out;
    EXPECT_EQ(run.results[0], "close = 0") << "closing without an open still succeeds";
    EXPECT_EQ(run.results[2], "close = 0");
    EXPECT_EQ(run.Code("exec:FxEcho"), 29u) << "closed: the device is not open";

    // The close before any open runs the terminate functions and CloseDevice too.
    const std::string& out = run.process.out;
    const std::size_t terminated = out.find("TerminateFuncList.size() - 1");
    ASSERT_NE(terminated, std::string::npos) << out;
    EXPECT_LT(terminated, out.find("@@ close = 0")) << out;
    const int firstClose = run.LogIndex("[KVTI] KVT_CloseDevice");
    const int firstOpen = run.LogIndex("[KVTI] KVT_OpenDevice");
    ASSERT_GE(firstClose, 0);
    ASSERT_GT(firstOpen, firstClose);
    const int closeDone = run.LogIndex("[FUNC] CloseDevice - 0", firstClose);
    const int exportDone = run.LogIndex("[KVTI] KVT_CloseDevice - 0", firstClose);
    EXPECT_GT(closeDone, firstClose);
    EXPECT_LT(closeDone, firstOpen);
    EXPECT_GT(exportDone, closeDone);
    EXPECT_LT(exportDone, firstOpen);
}

TEST(CloseDevice, TerminateFunctionsRunAtEveryClose) {
    DeployFolder folder = ReadyFolder("terminate");
    folder.WithCamera();
    const DriverRun run =
        folder.Run({"open", "close", "open", "close", "open", "exec:FxTermCount"});
    EXPECT_EQ(run.Result("exec:FxTermCount").substr(0, 21), "exec:FxTermCount = 2 ");
}

// The load publishes the library's handle, the model identifier, the configuration word
// and a zeroed body number; every open zeroes the body number again.
TEST(OpenDevice, LoadAndOpenPublishTheNamedBlocks) {
    DeployFolder folder = ReadyFolder("blocks");
    folder.WithCamera();
    const std::string body = "block-set:SHARED_NAME_BODYID:0102030405060708";
    const DriverRun run = folder.Run(
        {"block-get:SHARED_NAME_CONFIGURATION:4", "block-get:SHARED_NAME_MODELID:4",
         "block-get:SHARED_NAME_PARSER_HANDLE:4", "module:oxrmsg.dll",
         "block-get:SHARED_NAME_HANDLE:4", "module:Corvane.dll", body,
         "block-get:SHARED_NAME_BODYID:8#set", "open", "block-get:SHARED_NAME_BODYID:8#open",
         body, "unload", "reload", "block-get:SHARED_NAME_BODYID:8#load"});
    auto bytes = [&](const std::string& command) {
        const std::string line = run.Result(command);
        const std::size_t open = line.find('[');
        return open == std::string::npos ? line : line.substr(open);
    };
    auto le32 = [](unsigned long v) {
        char text[16];
        std::snprintf(text, sizeof(text), "[%02lx %02lx %02lx %02lx]", v & 0xFF, (v >> 8) & 0xFF,
                      (v >> 16) & 0xFF, (v >> 24) & 0xFF);
        return std::string(text);
    };
    EXPECT_EQ(bytes("block-get:SHARED_NAME_CONFIGURATION:4"), "[01 00 17 05]");
    EXPECT_EQ(bytes("block-get:SHARED_NAME_MODELID:4"), "[17 05 00 80]");
    EXPECT_NE(run.Code("module:oxrmsg.dll"), 0u);
    EXPECT_EQ(bytes("block-get:SHARED_NAME_PARSER_HANDLE:4"), le32(run.Code("module:oxrmsg.dll")));
    EXPECT_EQ(bytes("block-get:SHARED_NAME_HANDLE:4"), le32(run.Code("module:Corvane.dll")));
    EXPECT_EQ(bytes("block-get:SHARED_NAME_BODYID:8#set"), "[01 02 03 04 05 06 07 08]");
    EXPECT_EQ(run.Code("open"), 0u);
    EXPECT_EQ(bytes("block-get:SHARED_NAME_BODYID:8#open"), "[00 00 00 00 00 00 00 00]");
    EXPECT_EQ(run.Code("reload"), 0u);
    EXPECT_EQ(bytes("block-get:SHARED_NAME_BODYID:8#load"), "[00 00 00 00 00 00 00 00]");
}

TEST(OpenDevice, WritesTheMemoryDiagnostics) {
    DeployFolder folder = ReadyFolder("memory");
    folder.WithCamera();
    const DriverRun run = folder.Run({"open", "close"});
    const int process = run.LogIndex("[KVTI] ProcessMemoryInfo");
    ASSERT_GE(process, 1);
    EXPECT_EQ(run.log[process - 1], "[----]");
    const char* const kbLines[] = {
        "[KVTI]   WorkingSetSize             : ", "[KVTI]   PeakWorkingSetSize         : ",
        "[KVTI]   QuotaPeakPagedPoolUsage    : ", "[KVTI]   QuotaPagedPoolUsage        : ",
        "[KVTI]   QuotaPeakNonPagedPoolUsage : ", "[KVTI]   QuotaNonPagedPoolUsage     : ",
        "[KVTI]   PeakPagefileUsage          : ", "[KVTI]   PagefileUsage              : "};
    EXPECT_EQ(run.log[process + 1].rfind("[KVTI]   ProcessID                  : ", 0), 0u);
    EXPECT_EQ(run.log[process + 2].rfind("[KVTI]   hProcess                   : ", 0), 0u);
    EXPECT_EQ(run.log[process + 3].rfind("[KVTI]   PageFaultCount             : ", 0), 0u);
    for (int i = 0; i < 8; ++i) {
        const std::string& line = run.log[process + 4 + i];
        EXPECT_EQ(line.rfind(kbLines[i], 0), 0u) << line;
        EXPECT_EQ(line.substr(line.size() - 4), "[KB]") << line;
    }
    const int global = run.LogIndex("[KVTI] GlobalMemoryStatusInfo", process);
    ASSERT_GE(global, 0);
    EXPECT_EQ(run.log[global - 1], "[----]");
    const char* const mbLines[] = {"[KVTI]   UsedMemory   : ", "[KVTI]   FreeMemory   : ",
                                   "[KVTI]   MemorySize   : "};
    for (int i = 0; i < 3; ++i) {
        const std::string& line = run.log[global + 1 + i];
        EXPECT_EQ(line.rfind(mbLines[i], 0), 0u) << line;
        EXPECT_EQ(line.substr(line.size() - 4), "[MB]") << line;
    }
    EXPECT_GE(run.LogIndex("[KVTI] ProcessMemoryInfo", run.LogIndex("[KVTI] KVT_CloseDevice")), 0)
        << "closing writes them too";
}
