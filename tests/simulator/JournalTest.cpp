// The traffic journal: one line per call, in a format tests parse back.
#include "SimFixture.h"

using namespace simtest;

namespace {

class JournalLines : public SimTest {
protected:
    // The lines without their "<pid>:<seq> " prefix.
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        std::string text = sim.JournalText();
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find("\r\n", pos);
            std::string line = text.substr(pos, end - pos);
            lines.push_back(line.substr(line.find(' ') + 1));
            pos = end + 2;
        }
        return lines;
    }
};

TEST_F(JournalLines, EveryCallIsOneLineWithItsArgumentsAndStatus) {
    std::uint32_t v = 0x01000006;
    unsigned h = Handle(), result = 0, size = 0, copied = 0;
    k2pClearRemoteEventProcedureParameter(h);
    k2pPushRemoteEventProcedureSendParameter(h, 2, &v, 4);
    k2pPushRemoteEventProcedureSendParameter(h, 4, const_cast<char*>("ab"), 3);
    k2pExecuteRemoteEventProcedure(h, "FA_GetProperty", 1, &result);
    k2pGetReturnDataSize(&size);
    char buf[16];
    k2pGetReturnDataForExecuteRemoteEventProcedure(h, buf, sizeof(buf), &copied);
    k2pExecuteRemoteEventProcedure(h, "No Such", 0, &result);
    k2pGetSizeOfMemoryData(h, "Blk", &size);
    k2pClearRemoteEventProcedureParameter(0x1234);
    std::vector<std::string> expected = {
        "k2pClearRemoteEventProcedureParameter cam=0 h=0x00010517 st=0",
        "k2pPushRemoteEventProcedureSendParameter cam=0 h=0x00010517 type=2 size=4 st=0",
        "k2pPushRemoteEventProcedureSendParameter cam=0 h=0x00010517 type=4 size=3 st=0",
        "k2pExecuteRemoteEventProcedure cam=0 h=0x00010517 proc=FA_GetProperty flag=1 "
        "params=2:06000001,4:616200 res=0x00000001 ret=0 st=0",
        "k2pGetReturnDataSize size=0 st=0",
        "k2pGetReturnDataForExecuteRemoteEventProcedure cam=0 h=0x00010517 size=16 copied=0 st=0",
        "k2pExecuteRemoteEventProcedure cam=0 h=0x00010517 proc=No%20Such flag=0 params=2:06000001,4:616200 st=109",
        "k2pGetSizeOfMemoryData cam=0 h=0x00010517 block=Blk st=111",
        "k2pClearRemoteEventProcedureParameter h=0x00001234 st=103",
    };
    EXPECT_EQ(Lines(), expected);
}

TEST_F(JournalLines, ParsedRecordsGiveTheProceduresAndParametersInOneLine) {
    Run("MonOpen", {I32(0)});
    Run("FA_SetProperty", {I32(0x0100000A), I32(4), Block(Le32(1))});
    Run("FA_GetDigitalPropertyDataOffset", {I32(0x01010006), Text("Gain")});
    Run("MonCall", {I16(0x1234), I8(7)});
    EXPECT_EQ(sim.Trace(),
              "MonOpen(0) FA_SetProperty(0x0100000a,4,[01000000]) "
              "FA_GetDigitalPropertyDataOffset(0x01010006,\"Gain\") MonCall(4660,7)");
    auto calls = kvttest::SimExecutes(sim.Journal(), "FA_SetProperty");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].camera, 0);
    EXPECT_EQ(calls[0].flag, 0);
    EXPECT_EQ(calls[0].Param(0), 0x0100000Au);
    EXPECT_EQ(calls[0].params[2], (kvttest::SimParam{4, Le32(1)}));
    // Injected faults are marked; loading a scenario clears the journal.
    ASSERT_TRUE(sim.SetFault("k2pGetReturnDataSize", 1, 9));
    unsigned size;
    k2pGetReturnDataSize(&size);
    EXPECT_TRUE(sim.Journal().back().injected);
    EXPECT_EQ(sim.Journal().back().status, 9u);
    ASSERT_TRUE(sim.Load(Scenario()));
    EXPECT_TRUE(sim.Journal().empty());
}

}  // namespace
