// KvtLogReport on generated logs, whole and damaged: the figures of a whole log, the
// same figures whatever the line ends, timer restarts and interleaved processes; and
// for cut, spoiled and strange files no crash, no hang, and a note of what was skipped.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "tests/logreport/GeneratedLog.h"
#include "tests/logreport/ReportRun.h"

namespace {

using logreporttest::GeneratedLog;
using logreporttest::Report;
using logreporttest::RunReport;

constexpr unsigned kRounds = 6;
constexpr unsigned kFailEvery = 3;      // rounds 3 and 6 fail once
constexpr unsigned kDumpBytes = 1000;

GeneratedLog OneProcess() {
    GeneratedLog log;
    log.AddProcess(kRounds, kFailEvery, kDumpBytes);
    return log;
}

class DamagedLogs : public ::testing::Test {
protected:
    void SetUp() override { _dir = kvttest::MakeFreshDir("logs"); }
    void TearDown() override {
        if (!HasFailure()) {
            kvttest::RemoveTree(_dir);
        }
    }
    // Writes the bytes as a log and reports on it; the report must end, in time.
    Report ReportOn(const std::string& name, const std::string& bytes, const std::string& args = "") {
        const std::string path = _dir + name;
        EXPECT_TRUE(kvttest::WriteFileBytes(path, bytes));
        Report r = RunReport(path, args, 120000);
        EXPECT_TRUE(r.process.started) << name;
        EXPECT_FALSE(r.process.timedOut) << name << ": KvtLogReport did not finish";
        return r;
    }
    // The figures of a whole generated log. Two processes in lockstep on one clock
    // leave procedure frames that cannot be told apart from the other's: their split
    // is not checked, the exports and failures are.
    static void ExpectFigures(const Report& r, const logreporttest::Expected& e, const std::string& what) {
        EXPECT_EQ(Report::Counts(r.exports), e.exports) << what << "\n" << r.process.out;
        if (e.processes == 1 || what.find("interleaved") == std::string::npos) {
            EXPECT_EQ(Report::Counts(r.procedures), e.procedures) << what << "\n" << r.process.out;
        }
        EXPECT_EQ(r.failures, static_cast<long>(e.failures)) << what << "\n" << r.process.out;
        EXPECT_EQ(r.processes, static_cast<long>(e.processes)) << what << "\n" << r.process.out;
        unsigned long transported = 0;
        for (const auto& t : r.transport) {
            transported += t.second;
        }
        unsigned long expected = 0;
        for (const auto& t : e.transport) {
            expected += t.second;
        }
        EXPECT_EQ(transported, expected) << what;
        EXPECT_FALSE(r.HasNote("no exit line")) << what << "\n" << r.process.out;
    }

    std::string _dir;
};

TEST_F(DamagedLogs, WholeLogFiguresWhateverTheLineEndsAndProcesses) {
    const GeneratedLog one = OneProcess();
    GeneratedLog two = OneProcess();
    two.AddProcess(kRounds, kFailEvery, kDumpBytes);   // a second run after the first

    GeneratedLog a = OneProcess();
    GeneratedLog b;
    b.AddProcess(kRounds, kFailEvery, kDumpBytes, 400000);   // another clock entirely
    logreporttest::Expected both = a.Expect();
    for (const auto& e : b.Expect().exports) both.exports[e.first] += e.second;
    for (const auto& e : b.Expect().procedures) both.procedures[e.first] += e.second;
    for (const auto& e : b.Expect().transport) both.transport[e.first] += e.second;
    both.failures += b.Expect().failures;
    both.processes += 1;
    std::string interleaved;
    for (const std::string& line : GeneratedLog::Interleave(a.Lines(), b.Lines(), 3)) {
        interleaved += line + "\r\n";
    }

    logreporttest::Expected twice = two.Expect();
    struct Case {
        const char* name;
        std::string bytes;
        logreporttest::Expected expected;
    } cases[] = {
        {"crlf.log", one.Text(true), one.Expect()},
        {"lf.log", one.Text(false), one.Expect()},
        {"two-runs.log", two.Text(true), twice},
        {"interleaved.log", interleaved, both},
    };
    for (const Case& c : cases) {
        const Report r = ReportOn(c.name, c.bytes);
        EXPECT_EQ(r.process.exitCode, 0) << c.name << r.process.err;
        ExpectFigures(r, c.expected, c.name);
    }
    // A whole log of one process leaves nothing to note about damage.
    const Report r = ReportOn("clean.log", one.Text(true));
    EXPECT_FALSE(r.HasNote("damaged")) << r.process.out;
    EXPECT_FALSE(r.HasNote("no line end")) << r.process.out;
    // Two failures, each with its chain from the camera procedure up.
    ASSERT_EQ(r.failures, 2);
    EXPECT_NE(r.process.out.find("KVT_ExecuteEventProcS (GetIcuFirmwareVersion)"), std::string::npos)
        << r.process.out;
}

TEST_F(DamagedLogs, TimerRestartsKeepTheTimes) {
    // Each round restarts the timer; every LoadPropertyData takes 500 ms by its stamps,
    // so its slowest time is 500 ms whatever the restarts did to the stamps.
    const Report r = ReportOn("restarts.log", OneProcess().Text());
    ASSERT_EQ(r.procedures.count("LoadPropertyData"), 1u) << r.process.out;
    const logreporttest::Row& load = r.procedures.at("LoadPropertyData");
    EXPECT_GE(load.slowest, 490);
    EXPECT_LE(load.slowest, 510);
    EXPECT_EQ(load.total / static_cast<long long>(load.count), load.slowest);
    EXPECT_NE(r.process.out.find(std::to_string(kRounds + 1) + " timer restarts"), std::string::npos)
        << r.process.out;
}

TEST_F(DamagedLogs, DamageIsSkippedAndNoted) {
    const GeneratedLog base = OneProcess();
    const std::string text = base.Text();
    std::mt19937 random(15);
    std::string noise;
    for (int i = 0; i < 4096; ++i) {
        noise += static_cast<char>(random() & 0xFF);
    }
    // The lines of the base log with one change.
    auto edited = [&](const std::function<void(std::vector<std::string>&)>& edit) {
        std::vector<std::string> lines = base.Lines();
        edit(lines);
        std::string out;
        for (const std::string& line : lines) {
            out += line + "\r\n";
        }
        return out;
    };
    const std::size_t middle = base.Lines().size() / 2;
    const std::size_t lastExit = text.rfind("KVT_CloseDevice - 0");

    struct Case {
        const char* name;
        std::string bytes;
        const char* note;            // a note the report must give
        bool sameFigures;            // the operations are all still there
    } cases[] = {
        {"torn-last-line.log", text.substr(0, lastExit + 10), "no line end", false},
        {"noise-between-lines.log", text.substr(0, text.find('\n', text.size() / 2) + 1) + noise + "\r\n" +
                                        text.substr(text.find('\n', text.size() / 2) + 1),
         "damaged", true},
        {"zeros-block.log", text.substr(0, text.find('\n', text.size() / 3) + 1) + std::string(200000, '\0') +
                                "\r\n" + text.substr(text.find('\n', text.size() / 3) + 1),
         "longer than 64 KiB", true},
        {"missing-exit-line.log", edited([](std::vector<std::string>& lines) {
             for (std::size_t i = 0; i < lines.size(); ++i) {
                 if (lines[i].find("[FUNC] LoadPropertyData - 0") != std::string::npos) {
                     lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
                     return;
                 }
             }
         }),
         "LoadPropertyData", true},
        {"commit-inside-a-dump-line.log", edited([&](std::vector<std::string>& lines) {
             for (std::size_t i = middle; i < lines.size(); ++i) {
                 if (lines[i].find("Data[ 0010 ]") != std::string::npos) {
                     // Another process's line lands after the first bytes; the rest of
                     // the dump line follows it on a line of its own.
                     const std::string whole = lines[i];
                     lines[i] = whole.substr(0, 40) + "        77 | [CMNT] another process";
                     lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, whole.substr(40));
                     return;
                 }
             }
         }),
         "commits of several processes", true},
        {"missing-unload.log", edited([](std::vector<std::string>& lines) { lines.resize(lines.size() - 6); }),
         "", true},
    };
    for (const Case& c : cases) {
        const Report r = ReportOn(c.name, c.bytes);
        EXPECT_EQ(r.process.exitCode, 0) << c.name << "\n" << r.process.out << r.process.err;
        if (c.note[0] != '\0') {
            EXPECT_TRUE(r.HasNote(c.note)) << c.name << ": no note \"" << c.note << "\"\n" << r.process.out;
        }
        if (c.sameFigures) {
            EXPECT_EQ(Report::Counts(r.exports), base.Expect().exports) << c.name << "\n" << r.process.out;
            EXPECT_EQ(r.failures, static_cast<long>(base.Expect().failures)) << c.name << "\n" << r.process.out;
        }
    }
    // The torn close has no exit line: noted as unpaired, counted, not failed.
    const Report torn = ReportOn("torn-again.log", text.substr(0, lastExit + 10));
    EXPECT_TRUE(torn.HasNote("KVT_CloseDevice")) << torn.process.out;
    ASSERT_EQ(torn.exports.count("KVT_CloseDevice"), 1u);
    EXPECT_EQ(torn.exports.at("KVT_CloseDevice").unpaired, 1u);
    EXPECT_EQ(torn.exports.at("KVT_CloseDevice").failed, 0u);
}

TEST_F(DamagedLogs, CutAnywhereNeverCrashesOrHangs) {
    const std::string text = OneProcess().Text();
    std::mt19937 random(7);
    for (int i = 0; i < 12; ++i) {
        const std::size_t cut = random() % text.size();
        const std::string name = "cut-" + std::to_string(cut) + ".log";
        const Report r = ReportOn(name, text.substr(0, cut));
        EXPECT_EQ(r.process.exitCode, 0) << name << "\n" << r.process.err;
        EXPECT_GE(r.failures, 0) << name << ": no summary\n" << r.process.out;
    }
}

TEST_F(DamagedLogs, StrangeFiles) {
    std::mt19937 random(3);
    std::string garbage;
    for (int i = 0; i < 300000; ++i) {
        garbage += static_cast<char>(random() & 0xFF);
    }
    const std::string oneLong(1500000, 'x');
    struct Case {
        const char* name;
        std::string bytes;
        const char* note;
    } cases[] = {
        {"empty.log", "", ""},
        {"garbage.log", garbage, "damaged"},
        {"one-long-line.log", oneLong, "longer than 64 KiB"},
        {"only-restarts.log", ">>>>> Global Timer Restart >>>>>\r\n>>>>> Global Timer Restart >>>>>\r\n", ""},
        {"exits-only.log", "        12 | [KVTI] KVT_CloseDevice - 0\r\n        13 | [FUNC] Terminate - 5\r\n",
         "no entry line"},
    };
    for (const Case& c : cases) {
        const Report r = ReportOn(c.name, c.bytes);
        EXPECT_EQ(r.process.exitCode, 0) << c.name << "\n" << r.process.out << r.process.err;
        EXPECT_GE(r.failures, 0) << c.name << ": no summary\n" << r.process.out;
        if (c.note[0] != '\0') {
            EXPECT_TRUE(r.HasNote(c.note)) << c.name << ": no note \"" << c.note << "\"\n" << r.process.out;
        }
    }
    // Usage errors and a missing file: exit codes 2 and 1, a message on standard error.
    const Report missing = RunReport(_dir + "no-such.log");
    EXPECT_EQ(missing.process.exitCode, 1);
    EXPECT_NE(missing.process.err.find("cannot open"), std::string::npos) << missing.process.err;
    const Report bad = RunReport(_dir + "x.log", "--bogus");
    EXPECT_EQ(bad.process.exitCode, 2);
    const Report unwritable = ReportOn("html.log", OneProcess().Text(), "--html \"" + _dir + "no\\such\\dir\\r.html\"");
    EXPECT_EQ(unwritable.process.exitCode, 1);
}

}  // namespace
