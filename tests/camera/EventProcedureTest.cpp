// The event procedure client: what each push sends, how results and return data come
// back, and how a failed transport status becomes a raised failure.
#include <cstring>
#include <regex>

#include "camera/CameraFixture.h"
#include "core/camera/EventProcedure.h"

namespace {

using cameratest::Catch;
using cameratest::Raised;

class EventProcedureTest : public cameratest::CameraTest {
protected:
    // The parameters that went with the last run of "Probe".
    std::vector<kvttest::SimParam> ProbeParams() const {
        auto runs = kvttest::SimExecutes(sim.Journal(), "Probe");
        return runs.empty() ? std::vector<kvttest::SimParam>() : runs.back().params;
    }

    CEventProcedure procedure;
    int result = -1;
};

TEST_F(EventProcedureTest, PushesSendTheSpecifiedTypesAndBytes) {
    struct Case {
        std::function<void(CEventProcedure&)> push;
        unsigned type;
        std::string bytes;
    } cases[] = {
        {[](CEventProcedure& p) { p.PushParameterAsInteger(0x1234, 0); }, 0, "\x34"},
        {[](CEventProcedure& p) { p.PushParameterAsInteger(0x1234, 1); }, 1, "\x34\x12"},
        {[](CEventProcedure& p) { p.PushParameterAsInteger(0x1234, 2); },
         2, std::string("\x34\x12\0\0", 4)},
        {[](CEventProcedure& p) { p.PushParameterAsInteger(-2, 1); }, 1, "\xfe\xff"},
        {[](CEventProcedure& p) { p.PushParameterAsString(""); }, 4, std::string(1, '\0')},
        {[](CEventProcedure& p) { p.PushParameterAsString("MonOpen"); },
         4, std::string("MonOpen\0", 8)},
        {[](CEventProcedure& p) {
             unsigned char block[3] = {0xaa, 0x00, 0x55};
             p.PushParameterAsSafeArray(block, 3);
         },
         4, std::string("\xaa\x00\x55", 3)},
    };
    for (const Case& c : cases) {
        procedure.ClearParameters();
        c.push(procedure);
        procedure.Execute("Probe", &result);
        const auto params = ProbeParams();
        ASSERT_EQ(params.size(), 1u) << c.type;
        EXPECT_EQ(params[0].type, c.type);
        EXPECT_EQ(params[0].bytes, c.bytes) << c.type;
        EXPECT_EQ(result, 0);
    }
}

TEST_F(EventProcedureTest, UnknownIntegerKindIsRefusedBeforeAnyTransportCall) {
    for (int kind : {3, -1, 4}) {
        EXPECT_EQ(Catch([&] { procedure.PushParameterAsInteger(0x1234, kind); }),
                  (Raised{3, "[VALU] ParameterType"}));
    }
    EXPECT_EQ(Calls("k2pPushRemoteEventProcedureSendParameter"), 0u);
}

TEST_F(EventProcedureTest, ExecuteDeliversTheProcedureResultWithoutRaising) {
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nProbe.Result#1 = 5\n"));
    procedure.ClearParameters();
    EXPECT_EQ(Catch([&] { procedure.Execute("Probe", &result); }), Raised{});
    EXPECT_EQ(result, 5);

    // The one-value form clears first: only its own parameter goes along.
    procedure.ClearParameters();
    procedure.PushParameterAsInteger(1, 2);
    procedure.Execute("Probe", 0x01020304, &result);
    const auto params = ProbeParams();
    ASSERT_EQ(params.size(), 1u);
    EXPECT_EQ(params[0], (kvttest::SimParam{2, "\x04\x03\x02\x01"}));
    EXPECT_EQ(result, 0);
}

TEST_F(EventProcedureTest, ReturnDataWithoutCapacityCopiesWhatTheCameraReturns) {
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\n"
                          "Probe.ReturnData = 00 01 02 03 04 05 06 07 08 09\n"));
    unsigned char buffer[16];
    std::memset(buffer, 0xee, sizeof(buffer));
    unsigned size = 4;   // not a limit for this form
    procedure.ClearParameters();
    procedure.ExecuteAndGetData("Probe", buffer, &size, &result);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 11),
              std::string("\0\1\2\3\4\5\6\7\x08\x09\xee", 11));
}

TEST_F(EventProcedureTest, ReturnDataLargerThanTheCapacityIsRefused) {
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\n"
                          "Probe.ReturnData = 00 01 02 03 04 05 06 07 08 09\n"));
    unsigned char buffer[16];
    std::memset(buffer, 0xee, sizeof(buffer));
    for (unsigned capacity : {0u, 4u, 9u}) {
        unsigned size = 77;
        EXPECT_EQ(Catch([&] {
                      procedure.ExecuteAndGetData("Probe", buffer, capacity, &size, &result);
                  }),
                  (Raised{35, "[VALU] ReturnDataSize"}))
            << capacity;
        EXPECT_EQ(size, 77u);
        EXPECT_EQ(buffer[0], 0xee);
    }
    EXPECT_EQ(Calls("k2pGetReturnDataForExecuteRemoteEventProcedure"), 0u);
    const auto log = NewLogLines();
    EXPECT_NE(kvttest::FindLine(log, "[VALU] ReturnDataSize - 10 > 4"), -1);

    // Exactly as large as the buffer, and the capacity given through the size itself.
    unsigned size = 10;
    procedure.ExecuteAndGetData("Probe", buffer, size, &size, &result);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(buffer[9], 0x09);
    EXPECT_EQ(buffer[10], 0xee);
}

TEST_F(EventProcedureTest, VariableSizeReturnDataAndMemoryBlocks) {
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nProbe.ReturnData = \"abcdef\"\n"
                          "[Camera0.MemoryData]\nBlockA = 10 20 30\n"));
    unsigned size = 0;
    result = -1;
    procedure.ExecuteAndGetSize("Probe", &size, &result);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(result, 0);
    char text[6] = {};
    procedure.GetReturnData(text, &size, &result);
    EXPECT_EQ(std::string(text, 6), "abcdef");

    NewLogLines(true);
    unsigned blockSize = 0;
    procedure.GetDataSize("BlockA", &blockSize);
    ASSERT_EQ(blockSize, 3u);
    unsigned char block[3] = {};
    unsigned read = 0;
    procedure.GetData(block, blockSize, &read);
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block), 3), "\x10\x20\x30");

    // One timing line per memory-data call: the milliseconds right-aligned in seven
    // space-filled columns, then the camera and the call's label.
    const std::vector<std::string> lines = NewLogLines(true);
    const char* labels[] = {"k2pGetSizeOfMemoryData", "k2pExecuteGetMemoryData"};
    ASSERT_EQ(lines.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const std::regex layout(std::string("^\\[TIME\\] (?= {0,6}(0|[1-9][0-9]*) )[ 0-9]{7} "
                                            "msec\\. : Camera\\[0\\] : Func : ") +
                                labels[i] + "$");
        EXPECT_TRUE(std::regex_match(lines[i], layout)) << lines[i];
    }
}

TEST_F(EventProcedureTest, NullOutputsAreRefused) {
    unsigned size = 0;
    EXPECT_EQ(Catch([&] { procedure.Execute("Probe", nullptr); }).code, 3u);
    EXPECT_EQ(Catch([&] { procedure.ExecuteAndGetData("Probe", nullptr, &size, nullptr); }).code,
              3u);
    EXPECT_EQ(Catch([&] { procedure.GetDataSize("BlockA", nullptr); }).code, 3u);
    EXPECT_EQ(Catch([&] { procedure.PushParameterAsSafeArray(nullptr, 4); }),
              (Raised{3, "[FUNC] PushRemoteEvnetProcedureSendParameter"}));
    EXPECT_EQ(Calls("k2pExecuteRemoteEventProcedure"), 0u);
    EXPECT_EQ(Calls("k2pPushRemoteEventProcedureSendParameter"), 0u);
}

// Each step's failed transport status is raised with the step's message and the status
// as code; the next step is not tried.
TEST_F(EventProcedureTest, FailedTransportStatusCarriesItsCode) {
    unsigned char buffer[64];
    unsigned size = 0;
    struct Case {
        const char* function;
        unsigned nth;
        std::function<void(CEventProcedure&)> call;
        const char* message;
    } cases[] = {
        {"k2pClearRemoteEventProcedureParameter", 1,
         [](CEventProcedure& p) { p.ClearParameters(); },
         "[FUNC] ClearRemoteEventProcedureParameter"},
        {"k2pPushRemoteEventProcedureSendParameter", 1,
         [](CEventProcedure& p) { p.PushParameterAsInteger(7, 2); },
         "[FUNC] PushRemoteEventProcedureSendParameter"},
        {"k2pPushRemoteEventProcedureSendParameter", 1,
         [](CEventProcedure& p) { p.PushParameterAsString("x"); },
         "[FUNC] PushRemoteEventProcedureSendParameter"},
        {"k2pPushRemoteEventProcedureSendParameter", 1,
         [&](CEventProcedure& p) { p.PushParameterAsSafeArray(buffer, 2); },
         "[FUNC] PushRemoteEvnetProcedureSendParameter"},
        {"k2pExecuteRemoteEventProcedure", 1,
         [](CEventProcedure& p) { int r; p.Execute("Probe", &r); },
         "[FUNC] ExecuteRemoteEventProcedure"},
        {"k2pClearRemoteEventProcedureParameter", 1,
         [](CEventProcedure& p) { int r; p.Execute("Probe", 1, &r); },
         "[FUNC] ClearRemoteEventProcedureParameter"},
        {"k2pPushRemoteEventProcedureSendParameter", 1,
         [](CEventProcedure& p) { int r; p.Execute("Probe", 1, &r); },
         "[FUNC] PushRemoteEventProcedureSendParameter"},
        {"k2pExecuteRemoteEventProcedure", 1,
         [&](CEventProcedure& p) { int r; p.ExecuteAndGetData("Probe", buffer, &size, &r); },
         "[FUNC] ExecuteRemoteEventProcedure"},
        {"k2pGetReturnDataSize", 1,
         [&](CEventProcedure& p) { int r; p.ExecuteAndGetData("Probe", buffer, &size, &r); },
         "[FUNC] GetReturnDataSize"},
        {"k2pGetReturnDataForExecuteRemoteEventProcedure", 1,
         [&](CEventProcedure& p) { int r; p.ExecuteAndGetData("Probe", buffer, &size, &r); },
         "[FUNC] GetReturnDataForExecuteRemoteEventProcedure"},
        {"k2pExecuteRemoteEventProcedure", 1,
         [&](CEventProcedure& p) { int r; p.ExecuteAndGetSize("Probe", &size, &r); },
         "[FUNC] _k2pExecuteRemoteEventProcedure"},
        {"k2pGetReturnDataSize", 1,
         [&](CEventProcedure& p) { int r; p.ExecuteAndGetSize("Probe", &size, &r); },
         "[FUNC] _k2pGetReturnDataSize"},
        {"k2pGetReturnDataForExecuteRemoteEventProcedure", 1,
         [&](CEventProcedure& p) { int r; size = 1; p.GetReturnData(buffer, &size, &r); },
         "[FUNC] GetReturnDataForExecuteRemoteEventProcedure"},
        {"k2pGetSizeOfMemoryData", 1,
         [&](CEventProcedure& p) { p.GetDataSize("BlockA", &size); },
         "[FUNC] GetSizeOfMemoryData"},
        {"k2pExecuteGetMemoryData", 1,
         [&](CEventProcedure& p) { unsigned read; p.GetData(buffer, 4, &read); },
         "[FUNC] ExecuteGetMemoryData"},
    };
    unsigned status = 201;
    for (const Case& c : cases) {
        ASSERT_TRUE(sim.Load(cameratest::kBaseScenario));
        ASSERT_TRUE(sim.SetFault(c.function, c.nth, status));
        EXPECT_EQ(Catch([&] { c.call(procedure); }), (Raised{status, c.message})) << c.function;
        ASSERT_FALSE(sim.Journal().empty());
        EXPECT_EQ(sim.Journal().back().function, c.function) << c.message;
        status += 2;
    }
    // The transport and this process carry on.
    ASSERT_TRUE(sim.Load(cameratest::kBaseScenario));
    procedure.Execute("Probe", 1, &result);
    EXPECT_EQ(result, 0);
}

}  // namespace
