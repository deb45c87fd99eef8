// KVT_SaveProperty and KVT_LoadProperty in this process, with a stand-in
// "SearchPropertyData" in the registry and the pause before the save replaced, so the
// test sees what the camera had received when the pause came.
#include <cstring>
#include <string>
#include <vector>

#include "camera/CameraFixture.h"
#include "common/LogFile.h"
#include "factory_api/ModuleState.h"
#include "factory_api/PropertyLookup.h"
#include "factory_api/FixedPause.h"
#include "factory_api/plugin/EventProcRegistry.h"
#include "include/kvt_factory.h"

namespace {

constexpr std::uint32_t kTestID = 0x01000099;   // "PROP_TEST", 6 bytes

unsigned long __cdecl SearchStandIn(void* p) {
    auto* record = static_cast<kvtq517::PROPERTY_DATA_T*>(p);
    if (std::strcmp(record->szName, "PROP_TEST") != 0) {
        return 25;
    }
    record->ID = kTestID;
    record->Size = 6;
    return 0;
}

// What the camera had been sent when the pause came.
struct Pause {
    unsigned long milliseconds;
    std::string trace;
};
std::vector<Pause> s_pauses;
kvttest::SimCamera* s_sim = nullptr;

void __stdcall RecordPause(unsigned long milliseconds) {
    s_pauses.push_back({milliseconds, s_sim->Trace()});
}

class PropertyFileInProcessTest : public cameratest::CameraTest {
protected:
    static void SetUpTestSuite() {
        // The factory API objects log through their own copy of the log writer.
        if (!kvtlog::HasLogStaging()) {
            kvtlog::StartLogStaging();
        }
        RegisterEventProc("SearchPropertyData", &SearchStandIn, nullptr, nullptr, nullptr);
    }
    void SetUp() override {
        cameratest::CameraTest::SetUp();
        kvtq517::m_DeviceOpened = 1;
        s_sim = &sim;
        s_pauses.clear();
        _previous = kvtq517::ReplacePause(&RecordPause);
        NewLogLines();
    }
    void TearDown() override {
        kvtq517::ReplacePause(_previous);
        kvtq517::m_DeviceOpened = 0;
    }

private:
    kvtq517::PauseFunction _previous = nullptr;
};

TEST_F(PropertyFileInProcessTest, SaveWritesThePropertyPausesThenStoresIt) {
    ASSERT_TRUE(kvttest::WriteFileBytes("six.bin", std::string("\x00\x01\x0d\x0a\xff\x1a", 6)));
    EXPECT_EQ(KVT_SaveProperty("PROP_TEST", "six.bin"), 0u);
    const std::string set = "FA_SetProperty(0x01000099,6,[00010d0aff1a])";
    ASSERT_EQ(s_pauses.size(), 1u);
    EXPECT_EQ(s_pauses[0].milliseconds, 100u);
    EXPECT_EQ(s_pauses[0].trace, set);
    EXPECT_EQ(Trace(), set + " FA_SaveProperty(0x01000099)");
    EXPECT_EQ(sim.Property(0, 0, kTestID, true), std::string("\x00\x01\x0d\x0a\xff\x1a", 6));
}

// A refused write is the property's own failure: no pause, no store.
TEST_F(PropertyFileInProcessTest, ARefusedWriteIsNeitherWaitedForNorStored) {
    ASSERT_TRUE(kvttest::WriteFileBytes("six.bin", "abcdef"));
    ASSERT_TRUE(sim.ForceResult(0, "FA_SetProperty", 1, 3));
    EXPECT_EQ(KVT_SaveProperty("PROP_TEST", "six.bin"), 3u);
    EXPECT_TRUE(s_pauses.empty());
    EXPECT_EQ(Trace(), "FA_SetProperty(0x01000099,6,[616263646566])");
    const std::vector<std::string> log = NewLogLines();
    EXPECT_GE(kvttest::FindLine(log, "[ERR!] - [EVNT] FA_Set*Property"), 0);
    EXPECT_GE(kvttest::FindLine(log, "[FUNC] KVT_SaveProperty - 3"), 0);
}

// The file holds exactly the catalogue's size: a camera reply of another size writes
// no file at all.
TEST_F(PropertyFileInProcessTest, AReplyOfAnotherSizeWritesNoFile) {
    const struct {
        const char* bytes;
        const char* line;
    } cases[] = {
        {"01 02 03 04 05", "[ERR!] - [VALU] DataSize"},
        {"01 02 03 04 05 06 07", "[ERR!] - [VALU] ReturnDataSize"},
    };
    for (const auto& c : cases) {
        ::DeleteFileA("reply.bin");
        ASSERT_TRUE(sim.Apply(std::string("[Camera0.Public]\n0x01000099 = ") + c.bytes + "\n"));
        EXPECT_EQ(KVT_LoadProperty("PROP_TEST", "reply.bin"), 35u) << c.bytes;
        EXPECT_FALSE(kvttest::FileExists("reply.bin")) << c.bytes;
        EXPECT_GE(kvttest::FindLine(NewLogLines(), c.line), 0) << c.bytes;
    }
    ASSERT_TRUE(sim.Apply("[Camera0.Public]\n0x01000099 = 01 02 03 04 05 06\n"));
    EXPECT_EQ(KVT_LoadProperty("PROP_TEST", "reply.bin"), 0u);
    EXPECT_EQ(kvttest::ReadFileBytes("reply.bin"), "\x01\x02\x03\x04\x05\x06");
}

}  // namespace
