// KvtLogReport on the logs of real runs in a copy of the deploy folder: the example
// factory program, a release program, a run with a failure forced in the simulated
// camera, and two programs writing the log at once. The summary's counts and failures
// are checked against what the programs printed and what the camera's journal saw.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <regex>
#include <string>

#include "channel/ChildProcess.h"
#include "common/Win32.h"
#include "support/SimCamera.h"
#include "support/TestSupport.h"
#include "tests/examples/DeployCopy.h"
#include "tests/logreport/ReportRun.h"

namespace {

using logreporttest::Report;
using logreporttest::RunReport;

// One camera with small images, so a run takes seconds.
std::string Scenario(const std::string& extra = std::string()) {
    return "[Cameras]\nCount = 1\n[Camera0]\nToolMode = 0xFFFFFFFF\nBodyNumber = 113245012345\n"
           "JpegSize = 65536\nRawSize = 131072\n[Camera0.Public]\n0x8000002F = 00 00 07 00\n" +
           extra;
}

// What the example program printed: "<step> = <code> (<meaning>)" lines. Steps named
// KVT_... are exports; the others are the procedures it ran through
// KVT_ExecuteEventProcS.
struct Steps {
    std::map<std::string, unsigned> exports;
    std::map<std::string, unsigned> procedures;
    std::map<std::string, unsigned long> failed;   // step -> its code
};

Steps ParseSteps(const std::string& out) {
    static const std::regex step("^([A-Za-z_]+) = ([0-9]+) \\(");
    Steps s;
    for (const std::string& line : kvttest::SplitLines(out)) {
        std::smatch m;
        if (!std::regex_search(line, m, step)) {
            continue;
        }
        const std::string name = m[1];
        const unsigned long code = std::stoul(m[2]);
        if (name.compare(0, 4, "KVT_") == 0) {
            ++s.exports[name];
        } else {
            ++s.exports["KVT_ExecuteEventProcS"];
            ++s.procedures[name];
        }
        if (code != 0) {
            s.failed[name] = code;
        }
    }
    return s;
}

// The journal's camera-side procedures, counted as the report counts them.
std::map<std::string, unsigned long> JournalProcedures(const std::string& path) {
    std::map<std::string, unsigned long> counts;
    for (const kvttest::SimCall& call : kvttest::SimExecutes(kvttest::ReadSimJournalFile(path))) {
        ++counts["Camera[0] " + call.procedure];
    }
    return counts;
}

class RealRuns : public ::testing::Test {
protected:
    void SetUp() override {
        _folder = sdktest::CopyDeployFolder(sdktest::WindowsPath(KVT_LOGREPORT_DIST), "run");
        ASSERT_FALSE(_folder.empty()) << "cannot copy " << KVT_LOGREPORT_DIST;
        ASSERT_TRUE(kvttest::FileExists(_folder + "factory_example.exe"));
        ASSERT_TRUE(kvttest::FileExists(_folder + "KvtLogReport.exe")) << "not in the deploy folder";
        _journal = _folder + "journal.txt";
        ::SetEnvironmentVariableA("KVTSIM_JOURNAL", _journal.c_str());
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("KVTSIM_JOURNAL", nullptr);
        if (!HasFailure() && !_folder.empty()) {
            kvttest::RemoveTree(_folder);
        }
    }
    void UseScenario(const std::string& text) {
        ASSERT_TRUE(kvttest::WriteFileBytes(_folder + "KVTItoPTP.ini", text));
    }
    kvttest::ProcessResult Run(const std::string& commandLine) {
        return kvttest::RunProcess(commandLine, _folder, std::string(), 300000);
    }
    // The deploy folder's own KvtLogReport on the folder's log.
    Report ReportOfLog() {
        const Report r = RunReport(_folder + "KvtDll.log");
        EXPECT_EQ(r.process.exitCode, 0) << r.process.out << r.process.err;
        return r;
    }

    std::string _folder;
    std::string _journal;
};

TEST_F(RealRuns, ExampleProgramEveryStepCountedAndTimed) {
    UseScenario(Scenario());
    const kvttest::ProcessResult run = Run("\"" + _folder + "factory_example.exe\" out");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    const Steps steps = ParseSteps(run.out);
    ASSERT_EQ(steps.exports.size(), 5u) << run.out;

    const Report r = ReportOfLog();
    EXPECT_EQ(Report::Counts(r.exports), steps.exports) << r.process.out;
    EXPECT_EQ(Report::Counts(r.procedures), steps.procedures) << r.process.out;
    EXPECT_EQ(r.failures, 0) << r.process.out;
    EXPECT_EQ(r.processes, 1) << r.process.out;
    for (const auto& row : r.exports) {
        EXPECT_EQ(row.second.failed, 0u) << row.first;
        EXPECT_EQ(row.second.unpaired, 0u) << row.first;
    }
    // Where the time went: dumping the 239 properties is the longest procedure.
    for (const auto& row : r.procedures) {
        EXPECT_LE(row.second.total, r.procedures.at("LoadPropertyData").total) << row.first;
    }
    EXPECT_EQ(r.transport, JournalProcedures(_journal)) << r.process.out;
    EXPECT_FALSE(r.HasNote("no exit line")) << r.process.out;
    EXPECT_FALSE(r.HasNote("damaged")) << r.process.out;
}

TEST_F(RealRuns, ReleaseProgramTwoReleases) {
    UseScenario(Scenario());
    ASSERT_TRUE(kvttest::CopyFileTo(kvttest::BinDir() + "release_driver.exe", _folder + "release_driver.exe"));
    const kvttest::ProcessResult run =
        Run("\"" + _folder + "release_driver.exe\" open rt:first.jpg rt:second.jpg close");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    ASSERT_NE(run.out.find("@@ rt:second.jpg = 0"), std::string::npos) << run.out;

    const Report r = ReportOfLog();
    ASSERT_EQ(r.exports.count("KVT_ReleaseAndTransfer"), 1u) << r.process.out;
    EXPECT_EQ(r.exports.at("KVT_ReleaseAndTransfer").count, 2u);
    EXPECT_EQ(r.exports.at("KVT_ReleaseAndTransfer").failed, 0u);
    EXPECT_EQ(r.exports.at("KVT_OpenDevice").count, 1u);
    EXPECT_EQ(r.exports.at("KVT_CloseDevice").count, 1u);
    EXPECT_EQ(r.failures, 0);
    const auto journal = JournalProcedures(_journal);
    EXPECT_EQ(journal.at("Camera[0] FA_RemoteRelease"), 2u);
    EXPECT_EQ(r.transport, journal) << r.process.out;
}

TEST_F(RealRuns, ForcedCameraFailureReportedWithItsChain) {
    // The camera refuses the release and sends no image: the failure passes up through
    // the capture class's members to the export, which returns it.
    UseScenario(Scenario("[Camera0.Procedures]\nFA_RemoteRelease.Result = 1\n"));
    const kvttest::ProcessResult run = Run("\"" + _folder + "factory_example.exe\" out");
    ASSERT_EQ(run.exitCode, 1) << run.out << run.err;
    const Steps steps = ParseSteps(run.out);
    ASSERT_EQ(steps.failed.size(), 1u) << run.out;
    ASSERT_EQ(steps.failed.count("KVT_ReleaseAndTransfer"), 1u) << run.out;
    const unsigned long code = steps.failed.at("KVT_ReleaseAndTransfer");

    const Report r = ReportOfLog();
    EXPECT_EQ(Report::Counts(r.exports), steps.exports) << r.process.out;
    EXPECT_EQ(r.failures, 1) << r.process.out;
    EXPECT_EQ(r.exports.at("KVT_ReleaseAndTransfer").failed, 1u);
    ASSERT_FALSE(r.failureLines.empty());
    EXPECT_NE(r.failureLines[0].find("KVT_ReleaseAndTransfer: result " + std::to_string(code)), std::string::npos)
        << r.process.out;
    // The whole chain in order: every "[ERR!]" line the release's frames wrote, as the
    // log has them between its entry and exit lines.
    std::vector<std::string> chain;
    for (const std::string& line : r.failureLines) {
        const std::size_t at = line.find("[ERR!]");
        if (at != std::string::npos) {
            chain.push_back(line.substr(at));
        }
    }
    const std::vector<std::string> log = kvttest::ReadLogLines(_folder + "KvtDll.log");
    const int entry = kvttest::FindLine(log, "[KVTI] KVT_ReleaseAndTransfer");
    const int exit = kvttest::FindLine(log, "[KVTI] KVT_ReleaseAndTransfer - " + std::to_string(code), entry);
    ASSERT_GE(entry, 0);
    ASSERT_GT(exit, entry);
    std::vector<std::string> logged;
    for (int i = entry; i < exit; ++i) {
        if (log[static_cast<std::size_t>(i)].compare(0, 6, "[ERR!]") == 0) {
            logged.push_back(log[static_cast<std::size_t>(i)]);
        }
    }
    EXPECT_GE(logged.size(), 3u) << "a chain through several frames";
    EXPECT_EQ(chain, logged) << r.process.out;
}

TEST_F(RealRuns, TwoProgramsWritingAtOnce) {
    UseScenario(Scenario());
    chtest::ChildProcess first, second;
    // A journal each: the simulated camera's journal is not shared between processes.
    const std::string secondJournal = _folder + "journal2.txt";
    {
        // The children start in the folder (ChildProcess starts them in the current one).
        struct CurrentFolder {
            char previous[MAX_PATH] = {};
            explicit CurrentFolder(const std::string& folder) {
                ::GetCurrentDirectoryA(MAX_PATH, previous);
                ::SetCurrentDirectoryA(folder.c_str());
            }
            ~CurrentFolder() { ::SetCurrentDirectoryA(previous); }
        } inFolder(_folder);
        first.Start("\"" + _folder + "factory_example.exe\" out1");
        ::SetEnvironmentVariableA("KVTSIM_JOURNAL", secondJournal.c_str());
        second.Start("\"" + _folder + "factory_example.exe\" out2");
    }
    ASSERT_TRUE(first.WaitForExit(300000));
    ASSERT_TRUE(second.WaitForExit(300000));
    ASSERT_EQ(first.ExitCode(), 0) << first.Out();
    ASSERT_EQ(second.ExitCode(), 0) << second.Out();
    Steps steps = ParseSteps(first.Out());
    for (const auto& s : ParseSteps(second.Out()).exports) {
        steps.exports[s.first] += s.second;
    }

    const Report r = ReportOfLog();
    EXPECT_EQ(r.processes, 2) << r.process.out;
    EXPECT_EQ(Report::Counts(r.exports), steps.exports) << r.process.out;
    EXPECT_EQ(r.failures, 0) << r.process.out;
    // Every procedure's frame is there; with two programs in step on one clock, a
    // procedure's frame can land inside the other program's frames (then it counts as a
    // step), so the split is not checked.
    for (const auto& p : steps.procedures) {
        EXPECT_TRUE(r.procedures.count(p.first) == 1 || r.steps.count(p.first) == 1)
            << p.first << "\n" << r.process.out;
    }
    for (const auto& row : r.exports) {
        EXPECT_EQ(row.second.failed, 0u) << row.first;
    }
    EXPECT_FALSE(r.HasNote("no exit line")) << r.process.out;
    std::map<std::string, unsigned long> journal = JournalProcedures(_journal);
    for (const auto& call : JournalProcedures(secondJournal)) {
        journal[call.first] += call.second;
    }
    EXPECT_EQ(r.transport, journal) << r.process.out;
}

}  // namespace
