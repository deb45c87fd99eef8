// Command lines that cannot run, exports and procedures that fail, and a library that
// does not start: kvt says what went wrong on standard error, exits with the code the
// rules give, never crashes, and with --json still writes one document.
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

class KvtErrors : public kvtclitest::SharedFolderTest<KvtErrors> {
public:
    static constexpr const char* kPrefix = "kvt-errors";
};

// Exit 2 and a message that names the problem, before anything reaches the camera.
TEST_F(KvtErrors, CommandLinesThatCannotRunExitWithTwo) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const std::string longText(40, 'x');
    const Case cases[] = {
        {{}, "kvt: missing command"},
        {{"rn"}, "unknown command \"rn\"; did you mean run?"},
        {{"info", "--modle", "x"}, "unknown option --modle; did you mean --model?"},
        {{"info", "--camera", "9"}, "--camera: 9 is out of range (0 to 7)"},
        {{"run", "GetBodyID", "--camera", "1"}, "camera slot 0 only"},
        {{"run"}, "missing NAME"},
        {{"run", "NoSuchProcedure"},
         "no event procedure \"NoSuchProcedure\" is registered; nearest: "},
        {{"run", "getbodyid"}, "nearest: GetBodyID, "},
        {{"run", "SetBodyID", "SerailNo=5"}, "has no field \"SerailNo\"; did you mean SerialNo?"},
        {{"run", "SetBodyID", "12345"}, "takes its values by field, Field=value"},
        {{"run", "SetBodyID", "SerialNo=-1"}, "SerialNo: -1 is out of range"},
        {{"run", "SetAutoPowerOffTime", "sixty"}, "\"sixty\" is not a number"},
        {{"run", "SetSensorNumber", "S5H2-0041273-TOO-LONG"},
         "a text of 21 characters does not fit 16 bytes"},
        {{"run", "GetBodyID", "5"}, "is an output: GetBodyID takes no values"},
        {{"run", "SetWindowsVistaUniqueID"}, "no event procedure"},
        {{"run", "SetABoardEepromData", "Data[128]=1"}, "index: 128 is out of range (0 to 127)"},
        {{"run", "SetBoardInfDLResonantFrequency", "a 12"}, "has a lone hex digit"},
        {{"run", longText + longText + longText + longText}, "at most 127 characters"},
        {{"mem", "read", "238", "4117"}, "missing COUNT"},
        {{"mem", "read", "238", "0xFFFFFFFF", "2"}, "runs past the end of the 4 GB address space"},
        {{"mem", "peek", "1"}, "unknown action \"peek\": read, write or call"},
        {{"mem", "write", "238", "10", "xyz"}, "is not hex bytes"},
        {{"prop", "save", "PROP_BODY_ID", "missing.bin"}, "missing.bin does not exist"},
        {{"prop", "load", longText + longText, "x.bin"}, "a property name has 1 to 63 characters"},
        {{"prop", "load", "PROP_BODY_ID", "no-such-folder\\x.bin"}, "does not exist"},
        {{"prop", "dump", std::string(250, 'd')}, "is longer than"},
        {{"release", "no-such-folder\\shot.jpg"}, "does not exist"},
        {{"release", "shot", "--quality", "best"}, "--quality: \"best\" is none of jpeg, raw, raw+jpeg"},
        {{"release", "shot", "--mvt", "--camera", "1"}, "--mvt and --camera do not go together"},
        {{"release-params", "set"}, "set needs FIELD=VALUE"},
        {{"release-params", "set", "Word[20]=1"}, "index: 20 is out of range (0 to 19)"},
        {{"release-params", "get", "--ex", "--camera", "1"}, "--ex and --camera do not go together"},
    };
    for (const Case& c : cases) {
        const KvtRun run = s_folder->Kvt(c.args);
        const std::string what = c.args.empty() ? std::string("(none)") : c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : "");
        EXPECT_EQ(run.Exit(), 2) << what << "\n" << run.Transcript();
        EXPECT_NE(run.process.err.find(c.message), std::string::npos) << what << "\n" << run.Transcript();
        EXPECT_TRUE(run.process.out.empty() || c.args.empty()) << what << "\n" << run.Transcript();
    }
}

// The result code of a failing export or procedure is the exit code where it fits;
// the text says the code and its meaning from the SDK's table.
TEST_F(KvtErrors, FailingExportsAndProceduresGiveTheirCode) {
    s_folder->UseScenario("[Cameras]\nCount = 1\n[Camera0]\nToolMode = 0xFFFFFFFF\n"
                          "[Camera0.Procedures]\n"
                          "FA_SetDefaultSetting.Result = 9\n"
                          "FactDisp_TurnOnDisplay.Result = 0x1235\n");
    struct Case {
        std::vector<std::string> args;
        int exit;
        const char* message;
    };
    const Case cases[] = {
        {{"prop", "load", "PROP_NO_SUCH", "x.bin"}, 25,
         "KVT_LoadProperty failed with 25 (adjustment property name not in the catalogue)"},
        {{"run", "SetDefaultSettings"}, 9,
         "SetDefaultSettings failed with 9 (passed on from the camera or its transport)"},
        // 4661 does not fit an exit code: 1, and the message has the code.
        {{"run", "TurnOnDisplay"}, 1, "TurnOnDisplay failed with 4661"},
    };
    for (const Case& c : cases) {
        const KvtRun run = s_folder->Kvt(c.args);
        EXPECT_EQ(run.Exit(), c.exit) << run.Transcript();
        EXPECT_NE(run.process.err.find(c.message), std::string::npos) << run.Transcript();
    }
    const KvtRun json = s_folder->Kvt({"run", "SetDefaultSettings", "--json"});
    EXPECT_EQ(json.Exit(), 9);
    EXPECT_TRUE(kvtclitest::IsOneJsonDocument(json.process.out)) << json.process.out;
    EXPECT_NE(json.process.out.find("\"result\":9,"), std::string::npos) << json.process.out;
    EXPECT_NE(json.process.out.find("\"error\":{\"kind\":\"export\",\"message\":\"SetDefaultSettings failed "
                                    "with 9 (passed on from the camera or its transport)\",\"step\":"
                                    "\"SetDefaultSettings\",\"code\":9,"),
              std::string::npos)
        << json.process.out;
    EXPECT_NE(json.process.out.find("\"exitCode\":9}"), std::string::npos) << json.process.out;
}

// --json keeps its promise also when the command line is wrong.
TEST_F(KvtErrors, UsageErrorsAsJsonAreOneDocument) {
    const KvtRun run = s_folder->Kvt({"run", "SetBodyID", "Foo=1", "--json"});
    EXPECT_EQ(run.Exit(), 2);
    ASSERT_TRUE(kvtclitest::IsOneJsonDocument(run.process.out)) << run.process.out;
    EXPECT_NE(run.process.out.find("\"command\":\"run\",\"error\":{\"kind\":\"usage\",\"message\":"),
              std::string::npos)
        << run.process.out;
    EXPECT_NE(run.process.out.find("\"exitCode\":2}"), std::string::npos) << run.process.out;
}

// A library whose plug-in fails its version check: every device open says so, and
// the plug-in registered nothing.
TEST_F(KvtErrors, APlugInThatFailsItsVersionCheckIsReported) {
    KvtFolder folder("kvt-version");
    ASSERT_TRUE(folder.Ok());
    const std::string list = folder.Path() + "_Q517_\\Property\\verck";
    ASSERT_TRUE(kvttest::WriteFileBytes(list, verck::EncodeList({
        {verck::Entry::Kind::PlugIn, "Pellor.q517", "9.9.9.9"},
        {verck::Entry::Kind::Ini, "BoardInf.ini", "1.0.0.0"},
        {verck::Entry::Kind::Ini, "Q517.ini", "1.0.0.0"},
    })));
    const KvtRun info = folder.Kvt({"info"});
    EXPECT_EQ(info.Exit(), 51) << info.Transcript();
    EXPECT_NE(info.process.err.find("KVT_OpenDevice failed with 51 (a plug-in failed its version check)"),
              std::string::npos)
        << info.Transcript();

    const KvtRun procs = folder.Kvt({"procs"});
    EXPECT_EQ(procs.Exit(), 1) << procs.Transcript();
    EXPECT_NE(procs.process.err.find("Pellor.q517: not loaded by oxrmsg.dll"), std::string::npos)
        << procs.Transcript();
    EXPECT_EQ(procs.out.back(), "0 of 0 registered names") << procs.Transcript();
}

TEST_F(KvtErrors, MissingLibrariesAndCamerasAreSaid) {
    s_folder->UseScenario("[Cameras]\nCount = 0\n");
    const KvtRun noCamera = s_folder->Kvt({"run", "GetBodyID"});
    EXPECT_NE(noCamera.Exit(), 0) << noCamera.Transcript();
    EXPECT_NE(noCamera.process.err.find("kvt run: KVT_OpenDevice failed with "), std::string::npos)
        << noCamera.Transcript();

    KvtFolder folder("kvt-nolib");
    ASSERT_TRUE(folder.Ok());
    ASSERT_TRUE(::DeleteFileA((folder.Path() + "oxrmsg.dll").c_str()) != 0);
    const KvtRun run = folder.Kvt({"info", "--json"});
    EXPECT_EQ(run.Exit(), 1) << run.Transcript();
    EXPECT_NE(run.process.err.find("cannot load oxrmsg.dll"), std::string::npos) << run.Transcript();
    EXPECT_TRUE(kvtclitest::IsOneJsonDocument(run.process.out)) << run.process.out;
    EXPECT_NE(run.process.out.find("\"kind\":\"tool\""), std::string::npos) << run.process.out;

    // Nothing of the libraries' own console lines reaches standard output.
    const KvtRun help = folder.Kvt({"--help"});
    EXPECT_EQ(help.Exit(), 0);
    EXPECT_EQ(help.out.front(), "usage: kvt COMMAND [ARGUMENTS] [--json] [--camera N] [--help]");
}

}  // namespace
