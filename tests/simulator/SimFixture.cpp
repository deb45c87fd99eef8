#include "SimFixture.h"

namespace simtest {

P I32(std::uint32_t v) { return {2, Le32(v)}; }
P I16(std::uint16_t v) { return {1, Le32(v).substr(0, 2)}; }
P I8(std::uint8_t v) { return {0, std::string(1, static_cast<char>(v))}; }
P Block(const std::string& bytes) { return {4, bytes}; }
P Text(const std::string& text) { return {4, text + std::string(1, '\0')}; }

std::string Le32(std::uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}

void SimTest::SetUp() {
    ASSERT_TRUE(sim.Ok());
    ASSERT_TRUE(sim.Load(Scenario())) << sim.Error();
    ASSERT_EQ(k2pInitialize(), 0u);
    ConnectAll();
    sim.ClearJournal();
}

void SimTest::TearDown() {
    k2pTerminate();
}

void SimTest::ConnectAll() {
    void* records = nullptr;
    unsigned count = 0;
    ASSERT_EQ(k2pGetDeviceInfoArray(&records, &count), 0u);
    handles.clear();
    for (unsigned i = 0; i < count; ++i) {
        unsigned h = 0;
        ASSERT_EQ(k2pConnectCamera(static_cast<char*>(records) + i * kDeviceInfoRecordSize, &h), 0u);
        handles.push_back(h);
    }
}

Ran SimTest::Run(const std::string& name, const std::vector<P>& params, bool withData,
                 unsigned camera) {
    Ran r;
    unsigned h = Handle(camera);
    EXPECT_EQ(k2pClearRemoteEventProcedureParameter(h), 0u);
    for (const P& p : params) {
        std::string copy = p.bytes;
        EXPECT_EQ(k2pPushRemoteEventProcedureSendParameter(h, p.type, copy.empty() ? nullptr : &copy[0],
                                                           static_cast<unsigned>(copy.size())),
                  0u);
    }
    r.status = k2pExecuteRemoteEventProcedure(h, name.c_str(), withData ? 1 : 0, &r.result);
    if (withData && r.status == 0) {
        unsigned size = 0;
        EXPECT_EQ(k2pGetReturnDataSize(&size), 0u);
        r.data.assign(size, '\0');
        unsigned copied = 0;
        EXPECT_EQ(k2pGetReturnDataForExecuteRemoteEventProcedure(h, size ? &r.data[0] : nullptr,
                                                                 size, &copied), 0u);
        EXPECT_EQ(copied, size);
    }
    return r;
}

}  // namespace simtest
