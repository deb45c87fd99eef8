// The copy routine behind GetEventProcList, on a table that holds records (the
// plug-in's own table never does): every record reaches the head of its bucket in the
// caller's table as a new record with the same fields, chains included, and each
// copied name is logged.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/LogFile.h"
#include "plugins/pellor/EventProcCopy.h"
#include "support/TestSupport.h"

namespace {

unsigned long __cdecl ProcedureA(void*) { return 0; }
unsigned long __cdecl ProcedureB(void*) { return 1; }

TEST(PellorCopyRoutine, CopiesEveryRecordToTheHeadOfItsBucket) {
    // Two names of one bucket in one chain, and a third elsewhere.
    std::vector<std::string> names = {"DisableAF"};
    for (int i = 0; names.size() < 2; ++i) {
        const std::string candidate = "Name" + std::to_string(i);
        if (EventProcBucket(candidate.c_str()) == EventProcBucket("DisableAF")) {
            names.push_back(candidate);
        }
    }
    names.push_back("GetLanguage");
    ASSERT_NE(EventProcBucket("GetLanguage"), EventProcBucket("DisableAF"));

    EventProcRecord second{names[1].c_str(), &ProcedureB, 4, 1, 0, nullptr};
    EventProcRecord first{names[0].c_str(), &ProcedureA, 0, 3, 7, &second};
    EventProcRecord other{names[2].c_str(), &ProcedureB, 128, 1, 0, nullptr};
    EventProcTable from = {};
    from.Bucket[EventProcBucket(names[0].c_str())] = &first;
    from.Bucket[EventProcBucket(names[2].c_str())] = &other;

    // The caller's table already has a record in the shared bucket: copies go before it.
    EventProcRecord existing{"Existing", &ProcedureA, 0, 3, 0, nullptr};
    EventProcTable to = {};
    to.Bucket[EventProcBucket(names[0].c_str())] = &existing;

    kvtlog::StartLogStaging();
    EXPECT_EQ(pellor::CopyEventProcTable(from, to), 0u);

    // Copied in chain order, each to the head: the chain is reversed.
    const EventProcRecord* head = to.Bucket[EventProcBucket(names[0].c_str())];
    ASSERT_NE(head, nullptr);
    EXPECT_NE(head, &second);
    EXPECT_EQ(head->Name, second.Name);
    EXPECT_EQ(head->Procedure, &ProcedureB);
    EXPECT_EQ(head->ParameterSize, 4u);
    EXPECT_EQ(head->Direction, 1u);
    ASSERT_NE(head->Next, nullptr);
    EXPECT_EQ(head->Next->Name, first.Name);
    EXPECT_EQ(head->Next->Reserved, 7u);
    EXPECT_EQ(head->Next->Next, &existing);
    const EventProcRecord* alone = to.Bucket[EventProcBucket(names[2].c_str())];
    ASSERT_NE(alone, nullptr);
    EXPECT_EQ(alone->ParameterSize, 128u);
    EXPECT_EQ(alone->Next, nullptr);

    const std::vector<std::string> log = kvttest::ReadLogLines("KvtDll.log");
    const int entry = kvttest::FindLine(log, "[FUNC] GetHash");
    ASSERT_GE(entry, 0);
    for (const std::string& name : names) {
        EXPECT_GT(kvttest::FindLine(log, name, entry), entry) << name;
    }
    EXPECT_GT(kvttest::FindLine(log, "[FUNC] GetHash - 0", entry), entry);

    delete head->Next;
    delete head;
    delete alone;
}

}  // namespace
