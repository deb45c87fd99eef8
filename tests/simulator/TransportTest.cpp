// The eleven transport functions: enumeration and connection, typed pushes, return
// data, memory-data blocks, and bad input answered with a status, never a crash.
#include <cstring>

#include "SimFixture.h"
#include "simulator/camera/Status.h"

using namespace simtest;
using kvttest::SimCall;

namespace {

class Transport : public SimTest {
protected:
    std::string Scenario() const override {
        return "[Cameras]\nCount = 2\n"
               "[Camera0]\nTemplate = empty\nName = First\nBodyNumber = 123456123456\n"
               "[Camera0.MemoryData]\nBlk = 01 02 03 04 05\nEmpty =\n"
               "[Camera0.Public]\n0x10 = 0a 0b 0c 0d\n"
               "[Camera1]\nTemplate = empty\nName = Second\n";
    }
    std::string ExecParams() {
        auto calls = sim.Journal();
        return calls.empty() ? std::string() : calls.back().Field("params");
    }
};

TEST_F(Transport, EnumeratesRecordsAndGivesEachCameraItsOwnHandle) {
    void* records = nullptr;
    unsigned count = 0;
    ASSERT_EQ(k2pGetDeviceInfoArray(&records, &count), 0u);
    ASSERT_EQ(count, 2u);
    const char* r0 = static_cast<const char*>(records);
    EXPECT_STREQ(r0 + 272, "First");
    EXPECT_STREQ(r0 + 464, "123456123456");
    EXPECT_STREQ(r0 + kDeviceInfoRecordSize + 272, "Second");
    EXPECT_NE(Handle(0), Handle(1));
    // Connecting again gives the same handle; a copy of a record connects too.
    std::string copy(r0 + kDeviceInfoRecordSize, kDeviceInfoRecordSize);
    unsigned h = 0;
    ASSERT_EQ(k2pConnectCamera(&copy[0], &h), 0u);
    EXPECT_EQ(h, Handle(1));
    copy[300] ^= 1;
    EXPECT_EQ(k2pConnectCamera(&copy[0], &h), unsigned(kvtsim::kStatusBadArgument));
}

TEST_F(Transport, PushEncodingsAreCopiedAtOnce) {
    struct Case {
        unsigned type;
        std::string bytes;
        const char* journaled;
    } cases[] = {
        {0, std::string("\x34", 1), "0:34"},
        {1, std::string("\x34\x12", 2), "1:3412"},
        {2, std::string("\x34\x12\x00\x00", 4), "2:34120000"},
        {4, std::string("ab\0", 3), "4:616200"},
        {4, std::string(), "4:"},
    };
    for (const Case& c : cases) {
        std::string value = c.bytes;
        ASSERT_EQ(k2pClearRemoteEventProcedureParameter(Handle()), 0u);
        ASSERT_EQ(k2pPushRemoteEventProcedureSendParameter(Handle(), c.type,
                                                           value.empty() ? nullptr : &value[0],
                                                           static_cast<unsigned>(value.size())),
                  0u);
        if (!value.empty()) value[0] = 'X';  // the caller reuses its variable
        unsigned result = 0;
        ASSERT_EQ(k2pExecuteRemoteEventProcedure(Handle(), "FA_SetDefaultSetting", 0, &result), 0u);
        EXPECT_EQ(ExecParams(), c.journaled);
    }
}

TEST_F(Transport, PushRefusesBadTypesSizesAndFullLists) {
    std::uint32_t v = 7;
    struct Case {
        unsigned type;
        void* data;
        unsigned size;
        unsigned status;
    } cases[] = {
        {3, &v, 4, kvtsim::kStatusBadArgument},
        {5, &v, 4, kvtsim::kStatusBadArgument},
        {0, &v, 2, kvtsim::kStatusSizeOutOfRange},
        {2, &v, 8, kvtsim::kStatusSizeOutOfRange},
        {4, &v, 0x7FFFFFFF, kvtsim::kStatusSizeOutOfRange},  // refused before reading
        {2, nullptr, 4, kvtsim::kStatusNullPointer},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(k2pPushRemoteEventProcedureSendParameter(Handle(), c.type, c.data, c.size),
                  c.status);
    }
    EXPECT_EQ(sim.State(0, "ParameterCount"), 0u);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(k2pPushRemoteEventProcedureSendParameter(Handle(), 2, &v, 4), 0u);
    }
    EXPECT_EQ(k2pPushRemoteEventProcedureSendParameter(Handle(), 2, &v, 4),
              unsigned(kvtsim::kStatusTooManyParameters));
    EXPECT_EQ(k2pClearRemoteEventProcedureParameter(Handle()), 0u);
    EXPECT_EQ(sim.State(0, "ParameterCount"), 0u);
}

TEST_F(Transport, ReturnDataWaitsForTheFlagAndIsOnePerProcess) {
    Ran r = Get("FA_GetProperty", {I32(0x10), I32(4)});
    ASSERT_EQ(r.status, 0u);
    EXPECT_EQ(r.data, "\x0a\x0b\x0c\x0d");
    // A run with the flag 0 gives its result and leaves the pending data alone.
    Ran plain = Run("FA_GetProperty", {I32(0x10), I32(4)});
    EXPECT_EQ(plain.status, 0u);
    EXPECT_EQ(plain.result, 0u);
    unsigned size = 0;
    ASSERT_EQ(k2pGetReturnDataSize(&size), 0u);
    EXPECT_EQ(size, 4u);
    // The data can be fetched through any connected camera's handle, in part, repeatedly.
    char two[2];
    unsigned copied = 0;
    ASSERT_EQ(k2pGetReturnDataForExecuteRemoteEventProcedure(Handle(1), two, 2, &copied), 0u);
    EXPECT_EQ(copied, 2u);
    EXPECT_EQ(std::string(two, 2), "\x0a\x0b");
    // A failed run with the flag 1 leaves no stale data.
    unsigned result;
    EXPECT_EQ(k2pExecuteRemoteEventProcedure(Handle(), "NoSuchProcedure", 1, &result),
              unsigned(kvtsim::kStatusUnknownProcedure));
    ASSERT_EQ(k2pGetReturnDataSize(&size), 0u);
    EXPECT_EQ(size, 0u);
}

TEST_F(Transport, MemoryDataIsTheBlockOfThePrecedingSizeQuery) {
    unsigned size = 0, read = 0;
    char buffer[8] = {};
    EXPECT_EQ(k2pExecuteGetMemoryData(Handle(), buffer, 8, &read),
              unsigned(kvtsim::kStatusNoMemoryData));
    ASSERT_EQ(k2pGetSizeOfMemoryData(Handle(), "Blk", &size), 0u);
    EXPECT_EQ(size, 5u);
    ASSERT_EQ(k2pExecuteGetMemoryData(Handle(), buffer, 3, &read), 0u);
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(std::string(buffer, 3), "\x01\x02\x03");
    ASSERT_EQ(k2pExecuteGetMemoryData(Handle(), buffer, 8, &read), 0u);
    EXPECT_EQ(read, 5u);
    ASSERT_EQ(k2pGetSizeOfMemoryData(Handle(), "Empty", &size), 0u);
    EXPECT_EQ(size, 0u);
    // The blocks are the camera's own; an unknown name drops the selection.
    EXPECT_EQ(k2pGetSizeOfMemoryData(Handle(1), "Blk", &size), unsigned(kvtsim::kStatusNoMemoryData));
    EXPECT_EQ(k2pGetSizeOfMemoryData(Handle(), "blk", &size), unsigned(kvtsim::kStatusNoMemoryData));
    EXPECT_EQ(k2pExecuteGetMemoryData(Handle(), buffer, 8, &read),
              unsigned(kvtsim::kStatusNoMemoryData));
}

TEST_F(Transport, BadInputGivesAStatusNeverACrash) {
    unsigned u = 0;
    void* p = nullptr;
    char buf[4];
    std::string longName(300, 'A');
    const unsigned null = kvtsim::kStatusNullPointer, handle = kvtsim::kStatusUnknownHandle;
    struct Case {
        const char* what;
        unsigned status;
        unsigned expected;
    } cases[] = {
        {"array null", k2pGetDeviceInfoArray(nullptr, &u), null},
        {"count null", k2pGetDeviceInfoArray(&p, nullptr), null},
        {"record null", k2pConnectCamera(nullptr, &u), null},
        {"handle out null", k2pConnectCamera(buf, nullptr), null},
        {"unknown handle clear", k2pClearRemoteEventProcedureParameter(0xDEAD), handle},
        {"unknown handle push", k2pPushRemoteEventProcedureSendParameter(0, 2, &u, 4), handle},
        {"unknown handle execute", k2pExecuteRemoteEventProcedure(0xDEAD, "MonOpen", 0, &u), handle},
        {"name null", k2pExecuteRemoteEventProcedure(Handle(), nullptr, 0, &u), null},
        {"result null", k2pExecuteRemoteEventProcedure(Handle(), "MonOpen", 0, nullptr), null},
        {"name too long", k2pExecuteRemoteEventProcedure(Handle(), longName.c_str(), 0, &u),
         kvtsim::kStatusSizeOutOfRange},
        {"flag 2", k2pExecuteRemoteEventProcedure(Handle(), "MonOpen", 2, &u), kvtsim::kStatusBadArgument},
        {"size null", k2pGetReturnDataSize(nullptr), null},
        {"copied null", k2pGetReturnDataForExecuteRemoteEventProcedure(Handle(), buf, 4, nullptr), null},
        {"buffer null", k2pGetReturnDataForExecuteRemoteEventProcedure(Handle(), nullptr, 4, &u), null},
        {"block name null", k2pGetSizeOfMemoryData(Handle(), nullptr, &u), null},
        {"block size null", k2pGetSizeOfMemoryData(Handle(), "Blk", nullptr), null},
        {"block name too long", k2pGetSizeOfMemoryData(Handle(), longName.c_str(), &u),
         kvtsim::kStatusSizeOutOfRange},
        {"read null", k2pExecuteGetMemoryData(Handle(), buf, 4, nullptr), null},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.status, c.expected) << c.what;
    }
    // A camera-side procedure that does not exist is a transport failure.
    EXPECT_EQ(k2pExecuteRemoteEventProcedure(Handle(), "FA_NoSuchThing", 0, &u),
              unsigned(kvtsim::kStatusUnknownProcedure));
}

TEST_F(Transport, TerminateDropsConnectionsButKeepsTheCamera) {
    ASSERT_EQ(Run("FA_SetProperty", {I32(0x20), I32(1), Block("\x55")}).result, 0u);
    ASSERT_EQ(k2pTerminate(), 0u);
    ASSERT_EQ(k2pTerminate(), 0u);  // twice is harmless
    unsigned u = 0;
    void* p = nullptr;
    EXPECT_EQ(k2pClearRemoteEventProcedureParameter(Handle()), unsigned(kvtsim::kStatusNotInitialized));
    EXPECT_EQ(k2pGetDeviceInfoArray(&p, &u), unsigned(kvtsim::kStatusNotInitialized));
    EXPECT_EQ(k2pGetReturnDataSize(&u), unsigned(kvtsim::kStatusNotInitialized));
    ASSERT_EQ(k2pInitialize(), 0u);
    // After a new initialisation a camera is reached only once connected again.
    EXPECT_EQ(k2pClearRemoteEventProcedureParameter(Handle()), unsigned(kvtsim::kStatusUnknownHandle));
    ConnectAll();
    EXPECT_EQ(Get("FA_GetProperty", {I32(0x20), I32(1)}).data, "\x55");
}

TEST_F(Transport, ZeroCamerasEnumerateEmpty) {
    ASSERT_TRUE(sim.Load("[Cameras]\nCount = 0\n"));
    void* records = nullptr;
    unsigned count = 9;
    ASSERT_EQ(k2pGetDeviceInfoArray(&records, &count), 0u);
    EXPECT_EQ(count, 0u);
    char record[kDeviceInfoRecordSize] = {};
    unsigned h;
    EXPECT_EQ(k2pConnectCamera(record, &h), unsigned(kvtsim::kStatusBadArgument));
}

}  // namespace
