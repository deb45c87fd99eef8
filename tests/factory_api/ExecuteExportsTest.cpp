// KVT_ExecuteEventProc and KVT_ExecuteEventProcS: the open check, the name checks, the
// registry lookup, the size rule of the S form, and the lines of both.
#include <gtest/gtest.h>

#include "tests/factory_api/DeployFolder.h"

using namespace kvtq517test;

namespace {

bool HasLine(const std::string& text, const std::string& line) {
    return text.find(line + "\r\n") != std::string::npos ||
           text.find(line + "\n") != std::string::npos;
}

// The name block is shared by every process of the session, so another test's execute
// call may overwrite it between a call and the read that follows. A name that only this
// test uses shows whether the library wrote it; a few attempts tell a library that
// never writes it from one that was merely overwritten.
bool NameBlockShows(const DeployFolder& folder, std::vector<std::string> commands,
                    const std::string& name) {
    commands.push_back("name-get");
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (folder.Run(commands).Result("name-get") == "name-get = 0 [" + name + "]") {
            return true;
        }
    }
    return false;
}

int CountLinesStartingWith(const std::vector<std::string>& lines, const std::string& head) {
    int n = 0;
    for (const std::string& line : lines) {
        n += line.rfind(head, 0) == 0 ? 1 : 0;
    }
    return n;
}

}  // namespace

TEST(ExecuteEventProc, BeforeOpenReturns29AndLeavesTheNameBlockAlone) {
    DeployFolder folder = ReadyFolder("execclosed");
    const DriverRun run = folder.Run({"exec:FxClosedProbe", "execs:FxClosedProbeS:0", "name-get"});
    EXPECT_EQ(run.Code("exec:FxClosedProbe"), 29u);
    EXPECT_EQ(run.Code("execs:FxClosedProbeS:0"), 29u);
    EXPECT_EQ(run.Result("name-get").find("FxClosedProbe"), std::string::npos);
    EXPECT_TRUE(run.HasLog("[ERR!] - [ERR!] OpenDevice Error."));
    EXPECT_TRUE(run.HasLog("[KVTI] KVT_ExecuteEventProc : FxClosedProbe - 29"));
    EXPECT_TRUE(run.HasLog("[KVTI] KVT_ExecuteEventProcS - 29"));
    EXPECT_FALSE(run.LogContains("[EVND] ElapsedTime"));
    // Only the first export copies its failure lines to standard error.
    EXPECT_EQ(run.process.err.find("[ERR!] - [ERR!] OpenDevice Error."),
              run.process.err.rfind("[ERR!] - [ERR!] OpenDevice Error."));
    EXPECT_NE(run.process.err.find("[ERR!] - [ERR!] OpenDevice Error."), std::string::npos);
}

TEST(ExecuteEventProc, RunsTheProcedureAndReturnsItsResult) {
    DeployFolder folder = ReadyFolder("exec");
    folder.WithCamera();
    const DriverRun run = folder.Run({"open", "exec:FxFill8:8", "exec:FxCode", "execs:FxCode:0"});
    EXPECT_EQ(run.Result("exec:FxFill8:8"), "exec:FxFill8:8 = 0 [11 22 33 44 55 66 77 88]");
    EXPECT_EQ(run.Code("exec:FxCode"), 41u) << "a procedure's code passes through";
    EXPECT_EQ(run.Code("execs:FxCode:0"), 41u);
    EXPECT_TRUE(NameBlockShows(folder, {"open", "execs:FxCode:0"}, "FxCode"));
    EXPECT_TRUE(run.HasLog("[KVTI] KVT_ExecuteEventProc"));
    EXPECT_TRUE(run.HasLog("[KVTI] KVT_ExecuteEventProc : FxFill8 - 0"));
    EXPECT_TRUE(run.HasLog("[KVTI] KVT_ExecuteEventProc : FxCode - 41"));
    EXPECT_TRUE(run.HasLog("[KVTI] KVT_ExecuteEventProcS"));
    EXPECT_TRUE(run.HasLog("[KVTI] KVT_ExecuteEventProcS - 41"));
    // One duration line per call, in the log and on standard output.
    EXPECT_EQ(CountLinesStartingWith(run.log, "[EVND] ElapsedTime   = "), 3);
    const std::string& out = run.process.out;
    std::size_t at = out.find("[EVND] ElapsedTime   = ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(out.substr(at + 29, 6), " msec.") << out.substr(at, 40);
}

TEST(ExecuteEventProc, AnUnknownNameReturns35AndStillWritesTheDurationLine) {
    DeployFolder folder = ReadyFolder("unknown");
    folder.WithCamera();
    const DriverRun run = folder.Run({"open", "exec:Nope", "execs:Nope:4"});
    EXPECT_EQ(run.Code("exec:Nope"), 35u);
    EXPECT_EQ(run.Code("execs:Nope:4"), 35u);
    EXPECT_TRUE(NameBlockShows(folder, {"open", "exec:FxNotRegisteredProbe"},
                               "FxNotRegisteredProbe"))
        << "the manager is built before the lookup";
    const int notFound = run.LogIndex("[CMNT] Not Found - Nope");
    ASSERT_GE(notFound, 0);
    const int duration = kvttest::FindLineContaining(run.log, "[EVND] ElapsedTime   = ", notFound);
    const int failure = run.LogIndex("[ERR!] - [VALU] Not Registered : Nope", notFound);
    ASSERT_GE(duration, 0);
    ASSERT_GE(failure, 0);
    EXPECT_GE(run.LogIndex("[KVTI] KVT_ExecuteEventProc : Nope - 35", failure), 0);
    EXPECT_TRUE(HasLine(run.process.err, "[ERR!] - [VALU] Not Registered : Nope"));
    EXPECT_TRUE(run.HasLog("[KVTI] KVT_ExecuteEventProcS - 35"));
    EXPECT_EQ(CountLinesStartingWith(run.log, "[EVND] ElapsedTime   = "), 2);
}

// The S form compares the size only when the procedure registered one.
TEST(ExecuteEventProcS, ComparesTheRegisteredParameterSize) {
    DeployFolder folder = ReadyFolder("sizes");
    folder.WithCamera();
    const DriverRun run = folder.Run(
        {"open", "execs:FxFill8:0", "execs:FxFill8:4", "execs:FxFill8:8", "execs:FxEcho:0",
         "execs:FxEcho:1000", "exec:FxFill8:8"});
    EXPECT_EQ(run.Code("execs:FxFill8:0"), 3u);
    EXPECT_EQ(run.Code("execs:FxFill8:4"), 3u);
    EXPECT_EQ(run.Result("execs:FxFill8:8"), "execs:FxFill8:8 = 0 [11 22 33 44 55 66 77 88]");
    EXPECT_EQ(run.Code("execs:FxEcho:0"), 0u);
    EXPECT_EQ(run.Code("execs:FxEcho:1000"), 0u);
    EXPECT_EQ(run.Code("exec:FxFill8:8"), 0u) << "the plain form does not compare";
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] ParameterSize"));
    EXPECT_EQ(run.process.err.find("ParameterSize"), std::string::npos)
        << "the S form's failure lines go to the log only";
}

// A name that is null or does not fit the 128-byte name block is refused with 3 before
// the name block is touched.
TEST(ExecuteEventProc, RefusesNamesThatDoNotFitTheNameBlock) {
    DeployFolder folder = ReadyFolder("names");
    folder.WithCamera();
    const DriverRun run = folder.Run({"open", "exec-null", "execs-null", "exec-long:128",
                                      "exec-long:4000", "name-get", "exec-long:127"});
    EXPECT_EQ(run.Code("exec-null"), 3u);
    EXPECT_EQ(run.Code("execs-null"), 3u);
    EXPECT_EQ(run.Code("exec-long:128"), 3u);
    EXPECT_EQ(run.Code("exec-long:4000"), 3u);
    EXPECT_EQ(run.Result("name-get").find("AAAA"), std::string::npos)
        << "no part of a refused name reached the block";
    EXPECT_EQ(run.Code("exec-long:127"), 35u) << "127 characters fit, but are not registered";
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] pEventProcName"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] strlen(pEventProcName)"));
    EXPECT_TRUE(run.HasLog("[KVTI] KVT_ExecuteEventProc :  - 3"));
    EXPECT_TRUE(run.HasLog("[CMNT] Not Found - " + std::string(127, 'A')));
}

TEST(ExecuteEventProc, TheLaterRegistrationOfANameWins) {
    DeployFolder folder("laterwins");
    folder.WithCamera()
        .WithPlugIn("kvtfx_full.dll", "Fixture.q517")
        .WithPlugIn("kvtfx_second.dll", "Second.q517.dll")
        .WithStandardIni()
        .WithVersionList({PlugInEntry("Fixture.q517", "2.0.1.0"),
                          PlugInEntry("Second.q517.dll", "3.0.0.0"),
                          IniEntry(kIniName, kIniVersion)});
    const DriverRun run = folder.Run({"open", "exec:FxWho"});
    EXPECT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("exec:FxWho"), 200u);
}
