// The two operation frames every library uses: what each writes and returns or raises
// for a body that succeeds, returns its own result, raises a CException or throws
// anything else.
#include <functional>
#include <string>
#include <vector>

#include "common/LogFrame.h"
#include "log/LogTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

[[noreturn]] void ThrowForeign() {
    throw 42;
}

TEST_F(LogFileTest, BoundaryFrameTurnsEveryOutcomeIntoAResult) {
    struct Case {
        const char* title;
        std::function<unsigned long()> body;
        unsigned long result;
        Lines lines;
    } cases[] = {
        {"success", [] { return 0ul; }, 0,
         {"[----]", "[KVTI] KVT_Probe", "[KVTI] KVT_Probe - 0"}},
        {"own result, printed signed", [] { return 0xFFFFFFFFul; }, 0xFFFFFFFF,
         {"[----]", "[KVTI] KVT_Probe", "[KVTI] KVT_Probe - -1"}},
        {"CException", []() -> unsigned long { kvt::Fail("[VALU] pData", 3); }, 3,
         {"[----]", "[KVTI] KVT_Probe", "[ERR!] - [VALU] pData", "[KVTI] KVT_Probe - 3"}},
        {"anything else", []() -> unsigned long { ThrowForeign(); }, 33,
         {"[----]", "[KVTI] KVT_Probe", "[ERR!] UnExpected Exception", "[KVTI] KVT_Probe - 33"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        ::DeleteFileA(LogPath().c_str());
        EXPECT_EQ(kvtlog::RunFrame(Stream(), {"[KVTI] KVT_Probe"}, c.body), c.result);
        EXPECT_EQ(FileLines(), c.lines);
    }
}

TEST_F(LogFileTest, ClassFrameRaisesUnderTheMembersName) {
    using Other = kvtlog::ClassFrame::Other;
    struct Case {
        const char* title;
        kvtlog::ClassFrame frame;
        bool foreign;           // the body throws something that is not a CException
        unsigned long code;     // raised
        std::string message;    // raised
        Lines lines;
    } cases[] = {
        {"caught, code kept", {"CProbe::Member", true}, false, 7, "[FUNC] CProbe::Member",
         {"[ERR!] - [EVNT] Probe"}},
        {"caught, raised as 1", {"CProbe::Member", false}, false, 1, "[FUNC] CProbe::Member",
         {"[ERR!] - [EVNT] Probe"}},
        {"other, silent 1", {"CProbe::Member", false, true, Other::Silent1}, true, 1,
         "[FUNC] CProbe::Member", {}},
        {"other, silent 33", {"CProbe::Member", false, true, Other::Silent33}, true, 33,
         "[FUNC] CProbe::Member", {}},
        {"other, logged, own name",
         {"CProbe::Member", false, true, Other::Logged33, "CProbe::Historic"}, true, 33,
         "[FUNC] CProbe::Historic", {"[ERR!] UnExpected Exception"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        ::DeleteFileA(LogPath().c_str());
        unsigned long code = 0;
        std::string message;
        try {
            kvtlog::RunInClassFrame(Stream(), c.frame, [&] {
                if (c.foreign) {
                    ThrowForeign();
                }
                kvt::Fail("[EVNT] Probe", 7);
            });
        } catch (CException* e) {
            code = e->Code();
            message = e->Message();
            delete e;
        }
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(message, c.message);
        kvtlog::CommitLog(Stream());   // lines the frame left uncommitted show too
        EXPECT_EQ(FileLines(), c.lines);
    }
}

}  // namespace
