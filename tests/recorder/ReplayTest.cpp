// The simulated camera replaying a recording, driven directly through the eleven
// functions: how calls are matched (per handle, in order; skipping only after a
// failure), what a call the recording lacks gets, and recordings it refuses to load.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/SimCamera.h"
#include "support/TestSupport.h"
#include "tests/simulator/SimFixture.h"

namespace {

constexpr unsigned kNotRecorded = 123;
constexpr char kHeader[] = "# KVTItoPTP recording 1\r\n";

// Two cameras, 0x11 and 0x22; camera 0x11 answers "A" with return data, 0x22 "B" with
// a result; the device records come from a file beside the recording.
constexpr char kTwoCameras[] =
    "1 k2pInitialize st=0\n"
    "2 k2pGetDeviceInfoArray count=2 records=file:two.rec.2.bin st=0\n"
    "3 k2pConnectCamera record=0 h=0x00000011 st=0\n"
    "4 k2pConnectCamera record=1 h=0x00000022 st=0\n"
    "5 k2pClearRemoteEventProcedureParameter h=0x00000011 st=0\n"
    "6 k2pExecuteRemoteEventProcedure h=0x00000011 proc=A flag=1 res=0x00000000 st=0\n"
    "7 k2pGetReturnDataSize size=3 st=0\n"
    "8 k2pGetReturnDataForExecuteRemoteEventProcedure h=0x00000011 size=3 copied=3 data=aabbcc "
    "st=0\n"
    "9 k2pClearRemoteEventProcedureParameter h=0x00000022 st=0\n"
    "10 k2pPushRemoteEventProcedureSendParameter h=0x00000022 type=2 size=4 data=05000000 st=0\n"
    "11 k2pExecuteRemoteEventProcedure h=0x00000022 proc=B flag=0 res=0x0000002a st=0\n"
    "12 k2pClearRemoteEventProcedureParameter h=0x00000022 st=0\n"
    "13 k2pPushRemoteEventProcedureSendParameter h=0x00000022 type=2 size=4 data=06000000 st=103\n"
    "14 k2pPushRemoteEventProcedureSendParameter h=0x00000022 type=2 size=4 data=07000000 st=0\n"
    "15 k2pExecuteRemoteEventProcedure h=0x00000022 proc=B flag=0 res=0x00000001 st=0\n"
    "16 k2pClearRemoteEventProcedureParameter h=0x00000022 st=0\n"
    "17 k2pExecuteRemoteEventProcedure h=0x00000022 proc=C flag=0 res=0x00000003 st=0\n"
    "18 k2pTerminate st=0\n";

std::string Records() {
    std::string records(2 * kDeviceInfoRecordSize, '\0');
    records[0] = 'R';
    records[kDeviceInfoRecordSize] = 'S';
    return records;
}

class Replaying : public ::testing::Test {
protected:
    void SetUp() override {
        folder = kvttest::MakeFreshDir("replay");
        ASSERT_TRUE(sim.Ok());
    }
    void TearDown() override {
        sim.Reset();
        if (!HasFailure()) {
            kvttest::RemoveTree(folder);
        }
    }
    // Loads the recording `text` (with the header) written as "two.rec".
    bool Load(const std::string& text) {
        kvttest::WriteFileBytes(folder + "two.rec.2.bin", Records());
        kvttest::WriteFileBytes(folder + "two.rec", text);
        return sim.Load("[Replay]\nRecording = " + folder + "two.rec\n");
    }
    // Enumerates and connects the two cameras as recorded.
    void Open() {
        ASSERT_EQ(k2pInitialize(), 0u);
        void* records = nullptr;
        unsigned count = 0;
        ASSERT_EQ(k2pGetDeviceInfoArray(&records, &count), 0u);
        ASSERT_EQ(count, 2u);
        ASSERT_EQ(std::string(static_cast<char*>(records), 2 * kDeviceInfoRecordSize), Records());
        unsigned h = 0;
        ASSERT_EQ(k2pConnectCamera(records, &h), 0u);
        ASSERT_EQ(h, 0x11u);
        ASSERT_EQ(k2pConnectCamera(static_cast<char*>(records) + kDeviceInfoRecordSize, &h), 0u);
        ASSERT_EQ(h, 0x22u);
    }
    unsigned Push(unsigned h, std::uint32_t value) {
        return k2pPushRemoteEventProcedureSendParameter(h, 2, &value, 4);
    }
    // Camera 0x22's first step, as recorded: "B" with 5 gives 42.
    void FirstStepOf22() {
        unsigned result = 0;
        EXPECT_EQ(k2pClearRemoteEventProcedureParameter(0x22), 0u);
        EXPECT_EQ(Push(0x22, 5), 0u);
        EXPECT_EQ(k2pExecuteRemoteEventProcedure(0x22, "B", 0, &result), 0u);
        EXPECT_EQ(result, 42u);
    }
    kvttest::SimCall LastCall() const {
        const std::vector<kvttest::SimCall> journal = sim.Journal();
        return journal.empty() ? kvttest::SimCall() : journal.back();
    }

    kvttest::SimCamera sim;
    std::string folder;
};

TEST_F(Replaying, EachHandleFollowsItsOwnOrderAndGetsTheRecordedAnswers) {
    ASSERT_TRUE(Load(kHeader + std::string(kTwoCameras))) << sim.Error();
    Open();
    // Camera 0x22 first, although the recording has 0x11 first.
    FirstStepOf22();
    EXPECT_EQ(LastCall().Field("rec"), "12");  // the recording's line
    EXPECT_EQ(kvttest::SimTrace(sim.Journal()), "B(5)");
    // The size query goes with the handle of the last execute.
    unsigned result = 0;
    EXPECT_EQ(k2pClearRemoteEventProcedureParameter(0x11), 0u);
    EXPECT_EQ(k2pExecuteRemoteEventProcedure(0x11, "A", 1, &result), 0u);
    unsigned size = 0, copied = 0;
    EXPECT_EQ(k2pGetReturnDataSize(&size), 0u);
    EXPECT_EQ(size, 3u);
    char data[3] = {};
    EXPECT_EQ(k2pGetReturnDataForExecuteRemoteEventProcedure(0x11, data, 3, &copied), 0u);
    EXPECT_EQ(copied, 3u);
    EXPECT_EQ(std::string(data, 3), "\xAA\xBB\xCC");
    for (const kvttest::SimCall& c : sim.Journal()) {
        EXPECT_TRUE(c.Field("replay").empty()) << c.function;
    }
}

TEST_F(Replaying, AfterARecordedFailureTheRestOfThatStepMayBeLeftOut) {
    ASSERT_TRUE(Load(kHeader + std::string(kTwoCameras))) << sim.Error();
    Open();
    FirstStepOf22();
    EXPECT_EQ(k2pClearRemoteEventProcedureParameter(0x22), 0u);
    EXPECT_EQ(Push(0x22, 6), 103u);
    // The product gives that step up: the next step's clear skips lines 14 and 15.
    EXPECT_EQ(k2pClearRemoteEventProcedureParameter(0x22), 0u);
    EXPECT_EQ(LastCall().Field("rec"), "17");
    unsigned result = 0;
    EXPECT_EQ(k2pExecuteRemoteEventProcedure(0x22, "C", 0, &result), 0u);
    EXPECT_EQ(result, 3u);
    EXPECT_EQ(k2pTerminate(), 0u);
}

TEST_F(Replaying, ACallTheRecordingLacksFailsAndStopsTheReplay) {
    ASSERT_TRUE(Load(kHeader + std::string(kTwoCameras))) << sim.Error();
    Open();
    unsigned result = 0;
    EXPECT_EQ(k2pClearRemoteEventProcedureParameter(0x22), 0u);
    // Other parameters: no skipping without a failure before.
    EXPECT_EQ(Push(0x22, 9), kNotRecorded);
    kvttest::SimCall departed = LastCall();
    EXPECT_EQ(departed.function, "k2pPushRemoteEventProcedureSendParameter");
    EXPECT_EQ(departed.Field("replay"), "departed");
    EXPECT_EQ(
        departed.Field("nearest"),
        "11:k2pPushRemoteEventProcedureSendParameter(h=0x00000022,type=2,size=4,data=05000000)");
    EXPECT_EQ(departed.status, kNotRecorded);
    // Every later call, recorded or not, fails the same way.
    EXPECT_EQ(Push(0x22, 5), kNotRecorded);
    EXPECT_EQ(LastCall().Field("replay"), "stopped");
    EXPECT_EQ(k2pExecuteRemoteEventProcedure(0x11, "A", 1, &result), kNotRecorded);
    EXPECT_EQ(k2pTerminate(), kNotRecorded);
}

TEST_F(Replaying, TheNearestRecordedCallIsOfTheSameKind) {
    ASSERT_TRUE(Load(kHeader + std::string(kTwoCameras))) << sim.Error();
    Open();
    unsigned result = 0;
    // "C" is recorded further on: it is named, not the next call (the clear).
    EXPECT_EQ(k2pExecuteRemoteEventProcedure(0x22, "C", 0, &result), kNotRecorded);
    EXPECT_EQ(LastCall().Field("nearest"),
              "18:k2pExecuteRemoteEventProcedure(h=0x00000022,proc=C,flag=0)");
    sim.Reset();
    ASSERT_TRUE(Load(kHeader + std::string(kTwoCameras))) << sim.Error();
    Open();
    // A handle nothing was recorded for.
    EXPECT_EQ(k2pClearRemoteEventProcedureParameter(0x33), kNotRecorded);
    EXPECT_EQ(LastCall().Field("nearest"), "6:k2pClearRemoteEventProcedureParameter(h=0x00000011)");
}

struct BadRecording {
    const char* name;
    std::string text;
    std::string error;
};

TEST_F(Replaying, ABrokenRecordingIsRefusedWithItsLine) {
    const std::string h = kHeader;
    const BadRecording cases[] = {
        {"no header", "1 k2pInitialize st=0\n", "line 1: a recording starts with"},
        {"empty", "", "line 1: a recording starts with"},
        {"unknown function", h + "1 k2pInitialise st=0\n",
         "line 2: 'k2pInitialise' is not a transport function"},
        {"no status", h + "# c\n1 k2pInitialize\n", "line 3: every call has its status 'st'"},
        {"unknown key", h + "1 k2pInitialize st=0 stt=1\n", "line 2: unknown key 'stt'"},
        {"no handle", h + "1 k2pClearRemoteEventProcedureParameter st=0\n",
         "line 2: 'h' is missing"},
        {"bad number", h + "1 k2pClearRemoteEventProcedureParameter h=0x1g st=0\n",
         "line 2: bad value of 'h'"},
        {"bad bytes",
         h + "1 k2pPushRemoteEventProcedureSendParameter h=1 type=2 size=1 data=0g st=0\n",
         "line 2: a block is hexadecimal digits"},
        {"short block",
         h + "1 k2pPushRemoteEventProcedureSendParameter h=1 type=2 size=4 data=0102 st=0\n",
         "line 2: the block holds 2 bytes, not 4"},
        {"data beyond what was copied",
         h + "1 k2pGetReturnDataForExecuteRemoteEventProcedure h=1 size=8 copied=2 data=010203 "
             "st=0\n",
         "line 2: the block holds 3 bytes, not 2"},
        {"no block file", h + "1 k2pGetDeviceInfoArray count=1 records=file:absent.bin st=0\n",
         "line 2: cannot read the block file"},
        {"two blanks", h + "1  k2pInitialize st=0\n",
         "line 2: words are separated by single blanks"},
    };
    for (const BadRecording& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Load(c.text));
        EXPECT_NE(sim.Error().find(c.error), std::string::npos) << sim.Error();
    }
}

TEST_F(Replaying, AReplayTakesNoScenarioBesideIt) {
    kvttest::WriteFileBytes(folder + "one.rec", kHeader + std::string("1 k2pInitialize st=0\n"));
    EXPECT_FALSE(
        sim.Load("[Replay]\nRecording = " + folder + "one.rec\n[Camera0]\nToolMode = 0\n"));
    EXPECT_NE(sim.Error().find("a [Replay] scenario has no other section"), std::string::npos)
        << sim.Error();
    ASSERT_TRUE(sim.Load("[Replay]\nRecording = " + folder + "one.rec\n")) << sim.Error();
    EXPECT_FALSE(sim.Apply("[Camera0]\nToolMode = 0\n"));
    EXPECT_NE(sim.Error().find("the camera replays"), std::string::npos) << sim.Error();
    // A scenario loaded afterwards ends the replay.
    ASSERT_TRUE(sim.Load("[Camera0]\nTemplate = empty\n"));
    EXPECT_EQ(k2pInitialize(), 0u);
    EXPECT_EQ(LastCall().Field("rec"), "");
}

}  // namespace
