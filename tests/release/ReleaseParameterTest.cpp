// The six release-parameter exports on the simulated camera: which properties a set
// writes, in which order and with which pauses, what a get returns, and the slots of
// the S variants.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "core/transport/APIManager.h"
#include "factory_api/FixedPause.h"
#include "include/kvt_factory.h"
#include "release/CameraFixture.h"

using namespace releasetest;

namespace {

constexpr std::uint32_t kMode = 0x80000000;
constexpr std::uint32_t kPacked[] = {0x8000002F, 0x80000030, 0x80000031};
constexpr std::uint32_t kFlavorMode = 0x80000028;

// The record every case starts from; word 0 (the mode word) is set per case.
ReleaseParameter Record(std::uint32_t mode, std::uint32_t flavorMode = 129) {
    ReleaseParameter r{};
    const std::uint32_t words[20] = {mode, 1001, 1002, 1003, 1004, 1005, 1006, 1007,
                                     0x21, 0x07, 0x04, flavorMode,
                                     0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7};
    for (int i = 0; i < 20; ++i) {
        r.Word[i] = words[i];
    }
    return r;
}

std::string FlavorBytes(const ReleaseParameter& r) {
    std::string bytes;
    for (int i = 12; i < 20; ++i) {
        bytes += Le32(r.Word[i]);
    }
    return bytes;
}

// The nine packed-word writes, FlavorMode and the flavor data of a full extra set.
std::vector<std::uint32_t> ExtraWrites(std::uint32_t flavorData) {
    std::vector<std::uint32_t> ids;
    for (int i = 0; i < 3; ++i) {
        ids.insert(ids.end(), std::begin(kPacked), std::end(kPacked));
    }
    ids.push_back(kFlavorMode);
    if (flavorData != 0) {
        ids.push_back(flavorData);
    }
    return ids;
}

std::vector<std::uint32_t> Join(std::vector<std::uint32_t> a, const std::vector<std::uint32_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ReleaseParameters : public CameraTest {
protected:
    void SetUp() override {
        s_self = this;
        s_waits.clear();
        _previous = kvtq517::ReplacePause(&CountingWait);
    }
    void TearDown() override {
        kvtq517::ReplacePause(_previous);
        s_self = nullptr;
    }

    // At each pause: how many properties had been written by then.
    static std::vector<std::size_t> s_waits;

    // The camera each procedure ran on, of one name.
    std::vector<int> CamerasOf(const std::string& procedure) const {
        std::vector<int> cams;
        for (const auto& call : Executes(procedure)) {
            cams.push_back(call.camera);
        }
        return cams;
    }
    void SetU32(unsigned camera, std::uint32_t id, std::uint32_t value) {
        ASSERT_TRUE(sim.SetProperty(camera, 0, id, Le32(value)));
    }
    // Slot 0 is selected: the next plain get reads camera 0 only.
    void ExpectSlot0Selected() {
        sim.ClearJournal();
        ReleaseParameter r{};
        EXPECT_EQ(KVT_GetReleaseParameter(&r), 0u);
        for (int cam : CamerasOf("FA_GetProperty")) {
            EXPECT_EQ(cam, 0);
        }
    }

private:
    static void __stdcall CountingWait(unsigned long milliseconds) {
        EXPECT_EQ(milliseconds, 100u);
        s_waits.push_back(s_self->WrittenProperties().size());
    }
    static ReleaseParameters* s_self;
    kvtq517::PauseFunction _previous = nullptr;
};

std::vector<std::size_t> ReleaseParameters::s_waits;
ReleaseParameters* ReleaseParameters::s_self = nullptr;

TEST_F(ReleaseParameters, TheModeWordAndTheExFlagDecideWhichCorePropertiesAreWritten) {
    struct Case {
        std::uint32_t mode;
        bool ex;
        std::vector<std::uint32_t> core;   // in write order
    } cases[] = {
        {3, false, {kMode, 0x80000003, 0x8000000D, 0x80000007, 0x80000005, 0x80000006}},
        {1, false, {kMode, 0x80000002, 0x80000003, 0x8000000D, 0x80000007, 0x80000005, 0x80000008}},
        {2, false, {kMode, 0x80000002, 0x80000003, 0x8000000D, 0x80000007, 0x80000006, 0x80000008}},
        {0, false, {kMode, 0x80000002, 0x80000003, 0x8000000D, 0x80000007, 0x80000005, 0x80000006,
                    0x80000008}},
        {9, false, {kMode, 0x80000002, 0x80000003, 0x8000000D, 0x80000007, 0x80000005, 0x80000006,
                    0x80000008}},
        {3, true, {kMode, 0x80000003, 0x8000000D, 0x80000007, 0x80000005}},
        {2, true, {kMode, 0x80000002, 0x80000003, 0x8000000D, 0x80000007, 0x80000008}},
        {1, true, {kMode, 0x80000002, 0x80000003, 0x8000000D, 0x80000007, 0x80000005, 0x80000008}},
        {0, true, {kMode, 0x80000002, 0x80000003, 0x8000000D, 0x80000007, 0x80000005, 0x80000008}},
    };
    // The property of each core word.
    const std::uint32_t wordProperty[8] = {kMode, 0x80000002, 0x80000003, 0x8000000D,
                                           0x80000007, 0x80000005, 0x80000006, 0x80000008};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << (c.ex ? " Ex" : ""));
        UseScenario(CameraScenario(1));
        s_waits.clear();
        const ReleaseParameter r = Record(c.mode);
        EXPECT_EQ(c.ex ? KVT_SetReleaseParameterEx(&r) : KVT_SetReleaseParameter(&r), 0u);

        EXPECT_EQ(WrittenProperties(), Join(c.core, ExtraWrites(0x02060001)));
        // One pause after the mode word, one after words 1 to 3.
        std::size_t group2 = 0;
        for (std::uint32_t id : c.core) {
            group2 += (id == 0x80000002 || id == 0x80000003 || id == 0x8000000D) ? 1 : 0;
        }
        EXPECT_EQ(s_waits, (std::vector<std::size_t>{1, 1 + group2}));
        for (int w = 0; w < 8; ++w) {
            const bool written =
                std::find(c.core.begin(), c.core.end(), wordProperty[w]) != c.core.end();
            EXPECT_EQ(sim.Property(0, 0, wordProperty[w]), written ? Le32(r.Word[w]) : "")
                << "word " << w;
        }
        for (const auto& call : Executes("FA_SetProperty")) {
            EXPECT_EQ(call.Param(1), call.params.size() == 3 ? call.params[2].bytes.size() : 0u);
        }
        const char* entry =
            c.ex ? "[FUNC] KVT_SetReleaseParameterEx" : "[FUNC] KVT_SetReleaseParameter";
        const int at = LogIndex(entry);
        ASSERT_GE(at, 1);
        EXPECT_EQ(NewLog()[at - 1], "[----]");
        EXPECT_GE(LogIndex(std::string(entry) + " - 0", at), 0);
    }
}

TEST_F(ReleaseParameters, FlavorModeSelectsTheFlavorDataPropertyOrFailsAfterTheEarlierWrites) {
    UseScenario(CameraScenario(1));
    ReleaseParameter r = Record(0, 135);
    EXPECT_EQ(KVT_SetReleaseParameter(&r), 0u);
    EXPECT_EQ(WrittenProperties().back(), 0x0206001Eu);
    EXPECT_EQ(sim.Property(0, 0, 0x0206001E), FlavorBytes(r));

    UseScenario(CameraScenario(1));
    r = Record(0, 136);
    EXPECT_EQ(KVT_SetReleaseParameter(&r), 3u);
    const std::vector<std::uint32_t> core = {kMode, 0x80000002, 0x80000003, 0x8000000D,
                                             0x80000007, 0x80000005, 0x80000006, 0x80000008};
    EXPECT_EQ(WrittenProperties(), Join(core, ExtraWrites(0)));
    EXPECT_EQ(sim.Property(0, 0, kFlavorMode), Le32(136));
    const int at = LogIndex("[ERR!] - [VALU] FlavorMode");
    ASSERT_GE(at, 0);
    EXPECT_EQ(LogIndex("[FUNC] KVT_SetReleaseParameter - 3"), at + 1);
}

TEST_F(ReleaseParameters, OnlyTheLowBytesOfTheThreePackedWordsReachTheCamera) {
    UseScenario(CameraScenario(1));
    ReleaseParameter r = Record(0);
    r.Word[8] = 0x1234;
    r.Word[9] = 0x1FF;
    r.Word[10] = 0xABC01;
    EXPECT_EQ(KVT_SetReleaseParameter(&r), 0u);
    for (std::uint32_t id : kPacked) {
        EXPECT_EQ(sim.Property(0, 0, id), std::string("\x34\x34\xff\x01", 4));
    }
    ReleaseParameter back{};
    EXPECT_EQ(KVT_GetReleaseParameter(&back), 0u);
    EXPECT_EQ(back.Word[8], 0x34u);
    EXPECT_EQ(back.Word[9], 0xFFu);
    EXPECT_EQ(back.Word[10], 0x01u);
}

TEST_F(ReleaseParameters, AGetReadsEveryPropertyInOrderWithoutPauses) {
    UseScenario(CameraScenario(1));
    const std::uint32_t core[8] = {kMode, 0x80000002, 0x80000003, 0x8000000D,
                                   0x80000007, 0x80000005, 0x80000006, 0x80000008};
    for (std::uint32_t i = 0; i < 8; ++i) {
        SetU32(0, core[i], i == 0 ? 1 : 11 + i);
    }
    ASSERT_TRUE(sim.SetProperty(0, 0, 0x8000002F, "\xaa\xbb\xcc\xdd"));
    SetU32(0, kFlavorMode, 131);
    std::string flavor;
    for (std::uint32_t v = 1; v <= 8; ++v) {
        flavor += Le32(v);
    }
    ASSERT_TRUE(sim.SetProperty(0, 0, 0x02060003, flavor));
    const std::uint32_t expected[20] = {1, 12, 13, 14, 15, 16, 17, 18, 0xBB, 0xCC, 0xDD, 131,
                                        1, 2, 3, 4, 5, 6, 7, 8};
    for (auto get : {&KVT_GetReleaseParameter, &KVT_GetReleaseParameterEx}) {
        sim.ClearJournal();
        ReleaseParameter r{};
        EXPECT_EQ(get(&r), 0u);
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(r.Word[i], expected[i]) << "word " << i;
        }
        std::vector<std::uint32_t> read;
        for (const auto& call : Executes("FA_GetProperty")) {
            read.push_back(call.Param(0));
            EXPECT_EQ(call.Param(1), call.Param(0) == 0x02060003 ? 32u : 4u);
        }
        EXPECT_EQ(read, (std::vector<std::uint32_t>{kMode, 0x80000002, 0x80000003, 0x8000000D,
                                                    0x80000007, 0x80000005, 0x80000006,
                                                    0x80000008, 0x8000002F, kFlavorMode,
                                                    0x02060003}));
    }
    EXPECT_TRUE(s_waits.empty());
}

TEST_F(ReleaseParameters, AGetWithAnUnknownFlavorModeFillsTheCoreWordsOnly) {
    UseScenario(CameraScenario(1));
    SetU32(0, kMode, 2);
    SetU32(0, kFlavorMode, 200);
    ReleaseParameter r{};
    for (auto& w : r.Word) {
        w = 0xAAAAAAAA;
    }
    EXPECT_EQ(KVT_GetReleaseParameter(&r), 3u);
    EXPECT_EQ(r.Word[0], 2u);
    EXPECT_EQ(r.Word[1], 0u);
    for (int i = 8; i < 20; ++i) {
        EXPECT_EQ(r.Word[i], 0xAAAAAAAAu) << "word " << i;
    }
    EXPECT_GE(LogIndex("[ERR!] - [VALU] FlavorMode"), 0);
}

TEST_F(ReleaseParameters, ANullRecordIsRefusedBeforeAnyCameraCall) {
    const std::vector<std::pair<const char*, std::function<unsigned long()>>> calls = {
        {"KVT_SetReleaseParameter", [] { return KVT_SetReleaseParameter(nullptr); }},
        {"KVT_GetReleaseParameter", [] { return KVT_GetReleaseParameter(nullptr); }},
        {"KVT_SetReleaseParameterEx", [] { return KVT_SetReleaseParameterEx(nullptr); }},
        {"KVT_GetReleaseParameterEx", [] { return KVT_GetReleaseParameterEx(nullptr); }},
        {"KVT_SetReleaseParameterS", [] { return KVT_SetReleaseParameterS(nullptr, 0); }},
        {"KVT_GetReleaseParameterS", [] { return KVT_GetReleaseParameterS(nullptr, 0); }},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(call.first);
        UseScenario(CameraScenario(1));
        EXPECT_EQ(call.second(), 3u);
        EXPECT_TRUE(Executes("").empty());
        const int at = LogIndex("[ERR!] - [VALU] pReleaseParameter");
        ASSERT_GE(at, 1);
        EXPECT_EQ(NewLog()[at - 1], std::string("[FUNC] ") + call.first);
        EXPECT_EQ(LogIndex(std::string("[FUNC] ") + call.first + " - 3"), at + 1);
        EXPECT_TRUE(s_waits.empty());
    }
}

TEST_F(ReleaseParameters, Slot1TakesNoFlavorAndSlot0IsSelectedAfterwards) {
    UseScenario(CameraScenario(1, 2));
    SetU32(1, kFlavorMode, 133);
    SetU32(1, 0x80000002, 77);
    ASSERT_TRUE(sim.SetProperty(1, 0, 0x8000002F, std::string("\x01\x02\x03\x04", 4)));
    ReleaseParameter r{};
    EXPECT_EQ(KVT_GetReleaseParameterS(&r, 1), 0u);
    EXPECT_EQ(r.Word[1], 77u);
    EXPECT_EQ(r.Word[8], 0x02u);
    EXPECT_EQ(r.Word[9], 0x03u);
    EXPECT_EQ(r.Word[10], 0x04u);
    EXPECT_EQ(r.Word[11], 133u);
    const std::uint32_t defaults[8] = {3, 0, 0, 0, 0xDEADBEEF, 0xDEADBEEF, 0, 0};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(r.Word[12 + i], defaults[i]) << "word " << 12 + i;
    }
    for (int cam : CamerasOf("FA_GetProperty")) {
        EXPECT_EQ(cam, 1);
    }
    ExpectSlot0Selected();

    UseScenario(CameraScenario(1, 2));
    const ReleaseParameter set = Record(0);
    EXPECT_EQ(KVT_SetReleaseParameterS(&set, 1), 0u);
    const std::vector<std::uint32_t> core = {kMode, 0x80000002, 0x80000003, 0x8000000D,
                                             0x80000007, 0x80000005, 0x80000006, 0x80000008};
    std::vector<std::uint32_t> packed = ExtraWrites(0);
    packed.pop_back();   // no FlavorMode
    EXPECT_EQ(WrittenProperties(), Join(core, packed));
    for (int cam : CamerasOf("FA_SetProperty")) {
        EXPECT_EQ(cam, 1);
    }
    EXPECT_EQ(s_waits.size(), 2u);
    ExpectSlot0Selected();
}

TEST_F(ReleaseParameters, SlotsBeyond1MoveTheCoreWordsOnly) {
    UseScenario(CameraScenario(1, 3));
    SetU32(2, 0x80000007, 55);
    ReleaseParameter r{};
    for (auto& w : r.Word) {
        w = 0xAAAAAAAA;
    }
    EXPECT_EQ(KVT_GetReleaseParameterS(&r, 2), 0u);
    EXPECT_EQ(r.Word[4], 55u);
    for (int i = 8; i < 20; ++i) {
        EXPECT_EQ(r.Word[i], 0xAAAAAAAAu) << "word " << i;
    }
    EXPECT_EQ(Executes("FA_GetProperty").size(), 8u);
    ExpectSlot0Selected();

    UseScenario(CameraScenario(1, 3));
    const ReleaseParameter set = Record(0);
    EXPECT_EQ(KVT_SetReleaseParameterS(&set, 2), 0u);
    EXPECT_EQ(WrittenProperties(),
              (std::vector<std::uint32_t>{kMode, 0x80000002, 0x80000003, 0x8000000D, 0x80000007,
                                          0x80000005, 0x80000006, 0x80000008}));
    for (int cam : CamerasOf("FA_SetProperty")) {
        EXPECT_EQ(cam, 2);
    }
    ExpectSlot0Selected();
}

TEST_F(ReleaseParameters, AFailedSlotCallStillEndsOnSlot0) {
    struct Case {
        const char* name;
        unsigned long slot;
        unsigned long code;
        const char* failure;
    } cases[] = {
        {"a refused write on slot 1", 1, 3, "[ERR!] - [EVNT] FA_Set*Property"},
        {"a slot that is not connected", 5, 3, "[ERR!] - [VALU] CameraIndex"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseScenario(CameraScenario(1, 2));
        ASSERT_TRUE(sim.ForceResult(1, "FA_SetProperty", 0, 3));
        // Slot 1 selected before: a refused selection leaves it selected unless the
        // call goes back to slot 0 on its way out.
        CAPIManager::GetInstance().SelectCamera(1);
        const ReleaseParameter set = Record(0);
        EXPECT_EQ(KVT_SetReleaseParameterS(&set, c.slot), c.code);
        const int at = LogIndex(c.failure);
        ASSERT_GE(at, 0);
        EXPECT_EQ(LogIndex("[FUNC] KVT_SetReleaseParameterS - " + std::to_string(c.code)),
                  at + 1);
        ExpectSlot0Selected();
    }
}

TEST_F(ReleaseParameters, ASetPausesTwice100Milliseconds) {
    UseScenario(CameraScenario(1));
    kvtq517::ReplacePause(nullptr);   // the real pause, once
    const ReleaseParameter r = Record(3);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(KVT_SetReleaseParameter(&r), 0u);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 195);
}

}  // namespace
