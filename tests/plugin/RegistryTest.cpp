// The event-procedure registry and the function lists, in-process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/LogFile.h"
#include "factory_api/plugin/EventProcRegistry.h"
#include "factory_api/plugin/PlugInFunctionLists.h"
#include "support/TestSupport.h"

namespace {

unsigned long __cdecl ProcA(void*) { return 1; }
unsigned long __cdecl ProcB(void*) { return 2; }

std::vector<int> g_calls;
unsigned long __cdecl First(unsigned long argument) {
    g_calls.push_back(argument == 0 ? 1 : -1);
    return 0;
}
unsigned long __cdecl Second(unsigned long argument) {
    g_calls.push_back(argument == 0 ? 2 : -2);
    return 0;
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        kvtlog::StartLogStaging();
        DeregisterEventProcList();
    }
    void TearDown() override { DeregisterEventProcList(); }

    static EventProcRecord* Add(const char* name, EventProc_t procedure, unsigned long size = 0) {
        const unsigned long direction = 3;
        const unsigned long reserved = 0;
        return RegisterEventProc(name, procedure, &size, &direction, &reserved);
    }
    static bool LogHas(const std::string& line) {
        return kvttest::FindLine(kvttest::ReadLogLines("KvtDll.log"), line) >= 0;
    }
};

}  // namespace

// The ELF hash with signed bytes: a byte from 0x80 up subtracts.
TEST(EventProcHash, MatchesHandComputedValues) {
    struct Case {
        const char* name;
        std::uint32_t hash;
        unsigned bucket;
    } cases[] = {
        {"", 0x0, 0},
        {"A", 0x41, 65},
        {"AB", 0x452, 167},                     // 0x41 * 16 + 0x42
        {"(3", 0x2b3, 65},                      // shares the bucket of "A"
        {"\xe9", 0x0FFFFF19, 165},              // -23: 0xFFFFFFE9, top nibble folded
        {"GetBodyID", 0x0895F014, 200},
        {"DisableAF", 0x09796256, 123},
        {"DisableAf", 0x09796276, 155},
        {"ab\xe9" "cdefghij", 0x0ADBD16A, 260},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EventProcHash(c.name), c.hash) << c.name;
        EXPECT_EQ(EventProcBucket(c.name), c.bucket) << c.name;
    }
}

TEST_F(Registry, ALaterRegistrationOfANameWins) {
    EXPECT_EQ(Add("Name", &ProcA), nullptr);
    EventProcRecord* first = FindEventProc("Name");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Add("Name", &ProcB), first) << "returns the previous head of the bucket";
    ASSERT_NE(FindEventProc("Name"), nullptr);
    EXPECT_EQ(FindEventProc("Name")->Procedure, &ProcB);
    EXPECT_EQ(FindEventProc("Name")->Next, first);
}

TEST_F(Registry, NamesAreCaseSensitive) {
    Add("DisableAF", &ProcA);
    Add("DisableAf", &ProcB);
    ASSERT_NE(FindEventProc("DisableAF"), nullptr);
    ASSERT_NE(FindEventProc("DisableAf"), nullptr);
    EXPECT_EQ(FindEventProc("DisableAF")->Procedure, &ProcA);
    EXPECT_EQ(FindEventProc("DisableAf")->Procedure, &ProcB);
    EXPECT_EQ(FindEventProc("disableaf"), nullptr);
    EXPECT_TRUE(LogHas("[CMNT] Not Found - disableaf"));
}

TEST_F(Registry, TheEmptyNameLivesInBucket0) {
    Add("", &ProcA);
    const EventProcRecord* head = EventProcBucketHead(0);
    ASSERT_NE(head, nullptr);
    EXPECT_STREQ(head->Name, "");
    EXPECT_EQ(FindEventProc(""), head);
}

TEST_F(Registry, NamesOfOneBucketAreChained) {
    Add("A", &ProcA);
    Add("(3", &ProcB);
    ASSERT_NE(FindEventProc("A"), nullptr);
    ASSERT_NE(FindEventProc("(3"), nullptr);
    EXPECT_EQ(FindEventProc("A")->Procedure, &ProcA);
    EXPECT_EQ(EventProcBucketHead(65), FindEventProc("(3"));
    DeregisterEventProcList();
    EXPECT_EQ(EventProcBucketHead(65), nullptr);
    EXPECT_EQ(FindEventProc("A"), nullptr);
}

TEST_F(Registry, TheNumbersAreCopiedAtOnce) {
    unsigned long size = 8;
    unsigned long direction = 1;
    unsigned long reserved = 7;
    RegisterEventProc("Copied", &ProcA, &size, &direction, &reserved);
    size = direction = reserved = 99;
    RegisterEventProc("NoNumbers", &ProcA, nullptr, nullptr, nullptr);
    const EventProcRecord* copied = FindEventProc("Copied");
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->ParameterSize, 8u);
    EXPECT_EQ(copied->Direction, 1u);
    EXPECT_EQ(copied->Reserved, 7u);
    const EventProcRecord* none = FindEventProc("NoNumbers");
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->ParameterSize, 0u);
}

TEST_F(Registry, ANullNameOrProcedureIsRefused) {
    EXPECT_EQ(Add(nullptr, &ProcA), nullptr);
    EXPECT_EQ(Add("NoProcedure", nullptr), nullptr);
    EXPECT_EQ(FindEventProc("NoProcedure"), nullptr);
    EXPECT_TRUE(LogHas("[ERR!] - [VALU] name"));
    EXPECT_TRUE(LogHas("[ERR!] - [VALU] procedure : NoProcedure"));
}

TEST(FunctionLists, RunInOrderOfAdditionWithArgument0) {
    kvtlog::StartLogStaging();
    DeregisterInitializeFuncList();
    g_calls.clear();
    AddInitializeFunc(&First);
    AddInitializeFunc(nullptr);
    AddInitializeFunc(&Second);
    EXPECT_EQ(ExecuteInitializeFunc(), 0u);
    EXPECT_EQ(g_calls, (std::vector<int>{1, 2}));
    const auto log = kvttest::ReadLogLines("KvtDll.log");
    EXPECT_GE(kvttest::FindLine(log, "InitializeFuncList.size() - 2"), 0);
    EXPECT_GE(kvttest::FindLine(log, "[ERR!] - [VALU] function"), 0);

    DeregisterInitializeFuncList();
    g_calls.clear();
    ExecuteInitializeFunc();
    EXPECT_TRUE(g_calls.empty());

    AddTerminateFunc(&Second);
    ExecuteTerminateFunc();
    EXPECT_EQ(g_calls, (std::vector<int>{2}));
    DeregisterTerminateFuncList();
}
