// Round trips: the main sequences recorded at a "station" (the recorder in front of the
// simulated camera on a scenario of its own), then replayed on a "development machine"
// (the simulated camera on the recording, no scenario at all) in the same folder path.
// The product's results, output, files and KvtDll.log lines must be the same (values
// that differ between any two runs masked). Then replays that depart from the recording,
// and recordings edited for a test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulator/recording/RecordingFormat.h"
#include "support/SimCamera.h"
#include "support/TestSupport.h"
#include "tests/recorder/Station.h"

namespace {

using rectest::Outcome;
using rectest::Program;
using rectest::Station;

constexpr char kOneCamera[] =
    "[Cameras]\nCount = 1\n[Camera0]\nToolMode = 0xFFFFFFFF\nBodyNumber = 113245012345\n";

// Counter records that differ per address, so the counts show what was read.
const std::string kCounters = std::string(kOneCamera) +
                              "[Camera0.Memory2]\n"
                              "4097 = 00 00 00 11 00 00 00 00 00 00\n"
                              "4107 = 00 00 00 22 00 00 00 00 00 00\n"
                              "4117 = 00 01 00 03 00 00 00 00 00 00\n";

// Identity, firmware, quality code 7 (raw, then JPEG) and small images.
const std::string kExample = std::string(kOneCamera) +
                             "JpegSize = 65536\nRawSize = 131072\n"
                             "[Camera0.Public]\n"
                             "0x02000001 = \"ICU 1.2.3\" pad:36\n"
                             "0x80030000 = u32:0x00000117\n"
                             "0x8000002F = 00 00 07 00\n";

const std::string kRelease = std::string(kOneCamera) +
                             "JpegSize = 3000\nRawSize = 200000\n"
                             "[Camera0.Public]\n0x8000002F = 00 00 07 04\n";

const std::string kTwoCameras =
    "[Cameras]\nCount = 2\n"
    "[Camera0]\nToolMode = 0xFFFFFFFF\n[Camera0.Memory2]\n4097 = c0 c0 c0 c0\n"
    "[Camera1]\nToolMode = 0\n[Camera1.Memory2]\n4097 = c1 c1 c1 c1\n";

struct Sequence {
    const char* name;
    std::string scenario;
    Program program;
    int exitCode;        // of the recorded run
    std::string shows;   // the start of a line of its standard output
    std::string writes;  // a file it writes (relative), or ""
};

std::vector<Sequence> Sequences() {
    const Program example{"factory_example.exe", {"out"}, "", {}};
    return {
        {"TavolInfo", kCounters, {"TavolInfo.exe", {}, "\n\n", {}}, 0, "", ""},
        {"FactoryExample", kExample, example, 0, "factory_example: 8 steps, 0 failed",
         "out\\Release.tr2"},
        {"LoadPropertyData",
         kExample,
         {"pellor_data_driver.exe",
          {"open", "folder={dir}adjust\\", "exec=LoadPropertyData"},
          "",
          {"adjust"}},
         0,
         "@@ exec=LoadPropertyData = 0",
         "adjust\\01000006.bin"},
        {"ReleaseAndTransfer",
         kRelease,
         {"release_driver.exe", {"open", "rt:shot", "mvt:multi", "close"}, "", {}},
         0,
         "@@ rt:shot = 0",
         "shot.tr2"},
        {"TwoCameras",
         kTwoCameras,
         {"kvtq517_driver.exe",
          {"open", "monopen", "bank:238", "read:4097:4", "monclose", "close"},
          "",
          {}},
         0,
         "@@ read:4097:4 = 0 [c1 c1 c1 c1]",
         ""},
        {"TransportFault",
         kExample + "[Faults]\nk2pGetReturnDataForExecuteRemoteEventProcedure#2 = 103\n", example,
         1, "factory_example: 8 steps, 1 failed", "out\\Release.jpg"},
    };
}

bool Shows(const std::vector<std::string>& lines, const std::string& head) {
    for (const std::string& l : lines) {
        if (l.compare(0, head.size(), head) == 0) {
            return true;
        }
    }
    return false;
}

// The file names of two runs that differ in presence or content.
std::vector<std::string> FileDifferences(const Outcome& a, const Outcome& b) {
    std::vector<std::string> differ;
    for (const auto& f : a.files) {
        auto other = b.files.find(f.first);
        if (other == b.files.end() || other->second != f.second) {
            differ.push_back(f.first);
        }
    }
    for (const auto& f : b.files) {
        if (a.files.count(f.first) == 0) {
            differ.push_back(f.first);
        }
    }
    return differ;
}

// The first line where two texts differ, for a readable failure.
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (std::size_t i = 0; i < a.size() || i < b.size(); ++i) {
        const std::string left = i < a.size() ? a[i] : "(end)";
        const std::string right = i < b.size() ? b[i] : "(end)";
        if (left != right) {
            return "line " + std::to_string(i + 1) + ":\n  expected: " + left +
                   "\n  actual:   " + right;
        }
    }
    return std::string();
}

std::vector<kvttest::SimCall> Departures(const Outcome& run) {
    std::vector<kvttest::SimCall> found;
    for (const kvttest::SimCall& c : kvttest::ParseSimJournal(run.journal)) {
        if (!c.Field("replay").empty()) {
            found.push_back(c);
        }
    }
    return found;
}

// The same run twice: results, output, log lines and files.
void ExpectSameRun(const Outcome& expected, const Outcome& actual) {
    EXPECT_EQ(actual.process.exitCode, expected.process.exitCode) << actual.process.err;
    EXPECT_EQ(actual.out, expected.out) << FirstDifference(expected.out, actual.out);
    EXPECT_EQ(actual.process.err, expected.process.err);
    EXPECT_EQ(actual.log, expected.log) << FirstDifference(expected.log, actual.log);
    EXPECT_TRUE(FileDifferences(expected, actual).empty())
        << ::testing::PrintToString(FileDifferences(expected, actual));
}

TEST(RoundTrip, EachSequenceReplaysAsRecorded) {
    for (const Sequence& s : Sequences()) {
        SCOPED_TRACE(s.name);
        Station station(std::string("rt-") + s.name);
        const Outcome recorded = station.Record(s.scenario, s.program);
        const Outcome direct = station.Direct(s.scenario, s.program);
        const Outcome replayed = station.Replay(s.program);
        ASSERT_TRUE(station.Ok());
        ASSERT_TRUE(recorded.process.started && !recorded.process.timedOut);
        ASSERT_TRUE(direct.process.started && !direct.process.timedOut);
        ASSERT_TRUE(replayed.process.started && !replayed.process.timedOut);

        // The recorded run did what the sequence is about.
        EXPECT_EQ(recorded.process.exitCode, s.exitCode)
            << recorded.process.out << recorded.process.err;
        if (!s.shows.empty()) {
            EXPECT_TRUE(Shows(recorded.out, s.shows)) << recorded.process.out;
        }
        if (!s.writes.empty()) {
            EXPECT_EQ(recorded.files.count(s.writes), 1u) << s.writes;
        }
        EXPECT_GT(rectest::RecordingLines(station.Recording()).size(), 5u);

        EXPECT_GT(recorded.log.size(), 20u);

        // The recorder adds nothing: the run without it is the same.
        {
            SCOPED_TRACE("without the recorder");
            ExpectSameRun(direct, recorded);
        }
        // The replay is the same run.
        {
            SCOPED_TRACE("replayed");
            ExpectSameRun(recorded, replayed);
            EXPECT_TRUE(Departures(replayed).empty()) << replayed.journal;
        }
        if (!HasFailure()) {
            station.Remove();
        }
    }
}

// ---- Departures and edits ------------------------------------------------------------

const Program kLanguageThenBody{
    "pellor_data_driver.exe", {"open", "execs=GetLanguage:4", "execs=GetBodyID:20"}, "", {}};

class EditedRecording : public ::testing::Test {
protected:
    void SetUp() override {
        recorded = station.Record(kExample + "0x02040002 = u32:3\n", kLanguageThenBody);
        ASSERT_TRUE(station.Ok());
        ASSERT_EQ(recorded.process.exitCode, 0) << recorded.process.out;
        calls = rectest::RecordedCalls(station.Recording());
        ASSERT_GT(calls.size(), 5u);
    }
    void TearDown() override {
        if (!HasFailure()) {
            station.Remove();
        }
    }

    // Index of the n-th call (from 0) of a function, optionally of one procedure.
    int Find(const std::string& function, int nth = 0, const std::string& proc = "") const {
        for (std::size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].function == function && (proc.empty() || calls[i].Get("proc") == proc) &&
                nth-- == 0) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    // Writes the calls as a recording beside the original, with `key` of call `index`
    // set to `value`.
    std::string Edited(int index, const std::string& key, const std::string& value) {
        std::string text = std::string(kvtrec::kHeader) + "\r\n";
        for (std::size_t i = 0; i < calls.size(); ++i) {
            kvtrec::CallLine c = calls[i];
            for (auto& f : c.fields) {
                if (static_cast<int>(i) == index && f.first == key) {
                    f.second = value;
                }
            }
            text += c.Text() + "\r\n";
        }
        const std::string path = station.Recording() + ".edited";
        kvttest::WriteFileBytes(path, text);
        return path;
    }
    // The "@@ <command> = ..." line of a run.
    static std::string Result(const Outcome& run, const std::string& command) {
        for (const std::string& line : run.out) {
            if (line.compare(0, command.size() + 6, "@@ " + command + " = ") == 0) {
                return line.substr(command.size() + 6);
            }
        }
        return "(none)";
    }

    Station station{"edit"};
    Outcome recorded;
    std::vector<kvtrec::CallLine> calls;
};

TEST_F(EditedRecording, ChangedReturnDataIsWhatTheProductReads) {
    // GetLanguage reads one 4-byte property: its return data is the first data call.
    const int read = Find("k2pGetReturnDataForExecuteRemoteEventProcedure");
    ASSERT_GE(read, 0);
    ASSERT_EQ(calls[read].Get("data"), "03000000");
    const Outcome replayed = station.Replay(kLanguageThenBody, Edited(read, "data", "05000000"));
    EXPECT_EQ(Result(recorded, "execs=GetLanguage:4").substr(0, 14), "0 [03 00 00 00");
    EXPECT_EQ(Result(replayed, "execs=GetLanguage:4").substr(0, 14), "0 [05 00 00 00");
    EXPECT_EQ(Result(replayed, "execs=GetBodyID:20"), Result(recorded, "execs=GetBodyID:20"));
    EXPECT_TRUE(Departures(replayed).empty()) << replayed.journal;
}

TEST_F(EditedRecording, ForcedFailureFailsThatStepAndTheNextOneRuns) {
    // The first push of GetLanguage fails: the product leaves the rest of that step
    // out, and GetBodyID still gets its recorded answers.
    const int push = Find("k2pPushRemoteEventProcedureSendParameter");
    ASSERT_GE(push, 0);
    const Outcome replayed = station.Replay(kLanguageThenBody, Edited(push, "st", "103"));
    EXPECT_NE(Result(replayed, "execs=GetLanguage:4").compare(0, 2, "0 "), 0)
        << Result(replayed, "execs=GetLanguage:4");
    EXPECT_EQ(Result(replayed, "execs=GetBodyID:20"), Result(recorded, "execs=GetBodyID:20"));
    EXPECT_EQ(Result(replayed, "execs=GetBodyID:20").compare(0, 2, "0 "), 0);
    EXPECT_TRUE(Departures(replayed).empty()) << replayed.journal;
    EXPECT_EQ(replayed.process.exitCode, recorded.process.exitCode);
}

struct DepartureCase {
    const char* name;
    std::vector<std::string> args;
    std::string call;     // the departing call, as the journal's "nearest" does not name it
    std::string nearest;  // text in the journal's "nearest" value
};

TEST_F(EditedRecording, DepartingReplayFailsCleanlyNamingTheCall) {
    const DepartureCase cases[] = {
        // Other parameters: the same procedure on another property.
        {"other property",
         {"open", "execs=GetBodyID:20"},
         "k2pPushRemoteEventProcedureSendParameter",
         "k2pPushRemoteEventProcedureSendParameter(h=0x00010517,type=2,size=4,data="},
        // Another procedure where the recording has a property read.
        {"another procedure",
         {"open", "execs=SaveLanguage:0"},
         "k2pExecuteRemoteEventProcedure",
         "k2pPushRemoteEventProcedureSendParameter("},
        // More than was recorded.
        {"beyond the recording",
         {"open", "execs=GetLanguage:4", "execs=GetBodyID:20", "execs=GetLanguage:4#2"},
         "k2pClearRemoteEventProcedureParameter",
         "k2pClearRemoteEventProcedureParameter("},
    };
    for (const DepartureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Program program = kLanguageThenBody;
        program.args = c.args;
        const Outcome replayed = station.Replay(program);
        ASSERT_TRUE(replayed.process.started && !replayed.process.timedOut);
        // No crash: the program ends on its own, with the failure reported.
        EXPECT_EQ(replayed.process.exitCode, 0) << replayed.process.out << replayed.process.err;
        EXPECT_EQ(Result(replayed, "open"), "0");
        const std::vector<kvttest::SimCall> departures = Departures(replayed);
        ASSERT_FALSE(departures.empty()) << replayed.journal;
        EXPECT_EQ(departures[0].Field("replay"), "departed");
        EXPECT_EQ(departures[0].function, c.call);
        EXPECT_EQ(departures[0].status, 123u);
        EXPECT_NE(departures[0].Field("nearest").find(c.nearest), std::string::npos)
            << departures[0].Field("nearest");
        // Every later call fails the same way, and says so.
        for (std::size_t i = 1; i < departures.size(); ++i) {
            EXPECT_EQ(departures[i].Field("replay"), "stopped");
            EXPECT_EQ(departures[i].status, 123u);
        }
        EXPECT_NE(replayed.process.err.find("KVTItoPTP: " + c.call + "("), std::string::npos)
            << replayed.process.err;
        EXPECT_NE(replayed.process.err.find("is not in the recording"), std::string::npos);
        EXPECT_NE(replayed.process.err.find("nearest recorded call: line "), std::string::npos);
    }
}

}  // namespace
