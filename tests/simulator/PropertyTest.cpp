// Property procedures in the three spaces, the non-volatile store, digital property
// data, save lists and per-camera tool modes.
#include "SimFixture.h"

using namespace simtest;

namespace {

class Properties : public SimTest {
protected:
    std::string Scenario() const override {
        return "[Cameras]\nCount = 2\n"
               "[Camera0]\nTemplate = empty\nToolMode = 0xFFFFFFFF\n"
               "[Camera0.Public]\n0x80000024 = u32:60\n"
               "[Camera0.Private]\n0x80000024 = u32:7\n"
               "[Camera0.DigitalOffsets]\n0x01010006:Gain = 16\n"
               "[Camera1]\nTemplate = empty\nToolMode = 1\n";
    }
};

struct SpaceNames {
    unsigned space;
    const char *set, *get, *save, *load;
} const kSpaces[] = {
    {0, "FA_SetProperty", "FA_GetProperty", "FA_SaveProperty", "FA_LoadProperty"},
    {1, "FA_SetPrivateProperty", "FA_GetPrivateProperty", "FA_SavePrivateProperty",
     "FA_LoadPrivateProperty"},
    {2, "FA_SetAdapterProperty", "FA_GetAdapterProperty", "FA_SaveAdapterProperty",
     "FA_LoadAdapterProperty"},
};

TEST_F(Properties, EachSpaceSetsGetsSavesAndLoadsItsOwnValues) {
    const std::uint32_t id = 0x02040002;
    for (const SpaceNames& s : kSpaces) {
        SCOPED_TRACE(s.set);
        std::string value = Le32(0x100 + s.space);
        ASSERT_EQ(Run(s.set, {I32(id), I32(4), Block(value)}).result, 0u);
        EXPECT_EQ(Get(s.get, {I32(id), I32(4)}).data, value);
        EXPECT_EQ(sim.Property(0, s.space, id, true), "");  // not saved yet
        ASSERT_EQ(Run(s.save, {I32(id)}).result, 0u);
        EXPECT_EQ(sim.Property(0, s.space, id, true), value);
        ASSERT_EQ(Run(s.set, {I32(id), I32(4), Block(Le32(9))}).result, 0u);
        ASSERT_EQ(Run(s.load, {I32(id)}).result, 0u);
        EXPECT_EQ(Get(s.get, {I32(id), I32(4)}).data, value);
    }
    // The spaces do not share values.
    EXPECT_EQ(Get("FA_GetProperty", {I32(0x80000024), I32(4)}).data, Le32(60));
    EXPECT_EQ(Get("FA_GetPrivateProperty", {I32(0x80000024), I32(4)}).data, Le32(7));
}

TEST_F(Properties, GetReturnsTheStoredSizeAndZerosForUnknownOnes) {
    ASSERT_EQ(Run("FA_SetProperty", {I32(0x30), I32(2), Block("\x01\x02")}).result, 0u);
    EXPECT_EQ(Get("FA_GetProperty", {I32(0x30), I32(8)}).data, "\x01\x02");
    EXPECT_EQ(Get("FA_GetProperty", {I32(0x31), I32(6)}).data, std::string(6, '\0'));
    // A set whose block does not match its size, or that lacks parameters, is refused.
    EXPECT_EQ(Run("FA_SetProperty", {I32(0x30), I32(4), Block("\x01\x02")}).result, 1u);
    EXPECT_EQ(Run("FA_SetProperty", {I32(0x30)}).result, 1u);
    EXPECT_EQ(Get("FA_GetProperty", {I32(0x30), I32(8)}).data, "\x01\x02");
    // A strict camera refuses what it does not hold.
    ASSERT_TRUE(sim.Apply("[Camera0]\nStrictProperties = 1\n"));
    Ran strict = Get("FA_GetProperty", {I32(0x31), I32(6)});
    EXPECT_EQ(strict.status, 0u);
    EXPECT_EQ(strict.data, "");
    EXPECT_EQ(Run("FA_GetProperty", {I32(0x31), I32(6)}).result, 1u);
    EXPECT_EQ(Run("FA_SaveProperty", {I32(0x31)}).result, 1u);
}

TEST_F(Properties, DigitalDataSizesAndOffsets) {
    EXPECT_EQ(Run("FA_GetPropertyDataSize", {I32(0x80000024)}).result, 4u);
    EXPECT_EQ(Run("FA_GetPropertyDataSize", {I32(0x0BAD)}).result, 0xFFFFFFFFu);
    EXPECT_EQ(Run("FA_GetDigitalPropertyDataOffset", {I32(0x01010006), Text("Gain")}).result, 16u);
    EXPECT_EQ(Run("FA_GetDigitalPropertyDataOffset", {I32(0x01010006), Text("Other")}).result,
              0xFFFFFFFFu);
    EXPECT_EQ(sim.State(0, "DigitalSetup"), 0u);
    EXPECT_EQ(Run("FA_SetupDigitalPropertyData", {I32(0)}).result, 0u);
    EXPECT_EQ(sim.State(0, "DigitalSetup"), 1u);
}

TEST_F(Properties, SaveListSavesEveryRegisteredIdentifierInBatchesOfNine) {
    std::vector<std::uint32_t> ids;
    for (std::uint32_t i = 0; i < 20; ++i) {
        ids.push_back(0x0E000000 + i);
        ASSERT_EQ(Run("FA_SetProperty", {I32(ids.back()), I32(4), Block(Le32(i))}).result, 0u);
    }
    ASSERT_EQ(Run("FA_SetSavePropertyListNum", {I32(20)}).result, 0u);
    for (std::size_t first = 0; first < ids.size(); first += 9) {
        std::vector<P> batch;
        std::size_t n = std::min<std::size_t>(9, ids.size() - first);
        batch.push_back(I32(static_cast<std::uint32_t>(n)));
        for (std::size_t k = 0; k < n; ++k) batch.push_back(I32(ids[first + k]));
        ASSERT_EQ(Run("FA_RegistSavePropertyList", batch).result, 0u);
    }
    ASSERT_EQ(Run("FA_SavePropertyList", {I32(0)}).result, 0u);
    for (std::uint32_t i = 0; i < 20; ++i) {
        EXPECT_EQ(sim.Property(0, 0, ids[i], true), Le32(i));
    }
    // Ten in one batch, more than announced, or an incomplete list are refused.
    ASSERT_EQ(Run("FA_SetSavePropertyListNum", {I32(10)}).result, 0u);
    std::vector<P> ten{I32(10)};
    for (int k = 0; k < 10; ++k) ten.push_back(I32(ids[k]));
    EXPECT_EQ(Run("FA_RegistSavePropertyList", ten).result, 1u);
    ASSERT_EQ(Run("FA_SetSavePropertyListNum", {I32(1)}).result, 0u);
    EXPECT_EQ(Run("FA_RegistSavePropertyList", {I32(2), I32(ids[0]), I32(ids[1])}).result, 1u);
    EXPECT_EQ(Run("FA_SavePropertyList", {I32(0)}).result, 1u);
    // An empty list saves nothing and succeeds.
    ASSERT_EQ(Run("FA_SetSavePropertyListNum", {I32(0)}).result, 0u);
    EXPECT_EQ(Run("FA_SavePropertyList", {I32(0)}).result, 0u);
}

TEST_F(Properties, TwoCamerasKeepTheirOwnToolModeAndValues) {
    EXPECT_EQ(Get("FA_GetProperty", {I32(0x0100000A), I32(4)}, 0).data, Le32(0xFFFFFFFF));
    EXPECT_EQ(Get("FA_GetProperty", {I32(0x0100000A), I32(4)}, 1).data, Le32(1));
    ASSERT_EQ(Run("FA_SetProperty", {I32(0x40), I32(4), Block(Le32(5))}, false, 1).result, 0u);
    EXPECT_EQ(sim.Property(1, 0, 0x40), Le32(5));
    EXPECT_EQ(sim.Property(0, 0, 0x40), "");
}

}  // namespace
