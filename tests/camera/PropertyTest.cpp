// Camera properties: set results judged by bit 0, reads bounded by the caller's size,
// the save list in batches of nine, the digital property setup once per device open.
#include <cstdio>
#include <cstring>
#include <memory>
#include <type_traits>

#include "camera/CameraFixture.h"
#include "core/camera/Property.h"
#include "core/device/DeviceLifecycle.h"

namespace {

using cameratest::Catch;
using cameratest::Raised;

static_assert(!std::is_copy_constructible_v<CProperty> && !std::is_copy_assignable_v<CProperty>,
              "a copy would free the implementation object twice");
static_assert(!std::is_copy_constructible_v<CPublicProperty>, "no copies");
static_assert(!std::is_copy_constructible_v<CPrivateProperty>, "no copies");
static_assert(!std::is_copy_constructible_v<CAdapterProperty>, "no copies");

constexpr unsigned kToolMode = 0x0100000A;

class PropertyTest : public cameratest::CameraTest {};

TEST_F(PropertyTest, SetResultIsJudgedByBitZero) {
    CPublicProperty property;
    unsigned value = 0x11223344;
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nFA_SetProperty.Result#1 = 2\n"
                          "FA_SetProperty.Result#2 = 3\n"));
    EXPECT_EQ(Catch([&] { property.Set(kToolMode, 4, &value); }), Raised{});
    EXPECT_EQ(NewLogLines(), std::vector<std::string>());
    EXPECT_EQ(Catch([&] { property.Set(kToolMode, 4, &value); }),
              (Raised{3, "[EVNT] FA_Set*Property"}));
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{"[VALU] PropertyID - 16777226"}));
    EXPECT_EQ(Trace(), "FA_SetProperty(0x0100000a,4,[44332211]) "
                       "FA_SetProperty(0x0100000a,4,[44332211])");
}

TEST_F(PropertyTest, EachSpaceUsesItsProcedures) {
    struct Case {
        std::function<CProperty*()> make;
        const char* set;
        const char* get;
    } cases[] = {
        {[] { return new CProperty; }, "FA_SetProperty", "FA_GetProperty"},
        {[] { return new CPublicProperty; }, "FA_SetProperty", "FA_GetProperty"},
        {[] { return new CPrivateProperty; }, "FA_SetPrivateProperty", "FA_GetPrivateProperty"},
        {[] { return new CAdapterProperty; }, "FA_SetAdapterProperty", "FA_GetAdapterProperty"},
        {[] { return new CProperty("SetX", "GetX", "SaveX"); }, "SetX", "GetX"},
    };
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nSetX.Result = 0\nGetX.ReturnData = 01\n"));
    for (const Case& c : cases) {
        std::unique_ptr<CProperty> property(c.make());
        sim.ClearJournal();
        unsigned size = 1;
        unsigned char byte = 1;
        property->Set(kToolMode, 1, &byte);
        property->Get(kToolMode, size, &byte);
        const auto runs = kvttest::SimExecutes(sim.Journal());
        ASSERT_EQ(runs.size(), 2u) << c.set;
        EXPECT_EQ(runs[0].procedure, c.set);
        EXPECT_EQ(runs[1].procedure, c.get);
    }
}

TEST_F(PropertyTest, ValueFormSendsTheLowBytesAndRefusesMoreThanFour) {
    CPublicProperty property;
    property.Set(kToolMode, 2, 0xAABBCCDDu);
    EXPECT_EQ(sim.Property(0, 0, kToolMode), "\xdd\xcc");
    EXPECT_EQ(Catch([&] { property.Set(kToolMode, 5, 1u); }), (Raised{3, "[VALU] size"}));
    EXPECT_EQ(Calls("k2pExecuteRemoteEventProcedure"), 1u);
}

TEST_F(PropertyTest, GetReturnsTheCountAndRefusesMoreThanTheBufferHolds) {
    ASSERT_TRUE(sim.SetProperty(0, 0, kToolMode, std::string("\x01\x02\x03\x04", 4)));
    CPublicProperty property;
    unsigned char buffer[16];
    std::memset(buffer, 0xee, sizeof(buffer));
    unsigned size = 8;
    property.Get(kToolMode, size, buffer);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 5), "\x01\x02\x03\x04\xee");
    EXPECT_EQ(Trace(), "FA_GetProperty(0x0100000a,8)");

    // The camera answering with more than was asked: nothing lands in the buffer.
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nFA_GetProperty.ExtraBytes#1 = 2\n"));
    std::memset(buffer, 0xee, sizeof(buffer));
    size = 4;
    EXPECT_EQ(Catch([&] { property.Get(kToolMode, size, buffer); }),
              (Raised{35, "[VALU] ReturnDataSize"}));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(buffer[0], 0xee);

    EXPECT_EQ(Catch([&] { property.Get(kToolMode, size, nullptr); }),
              (Raised{3, "[VALU] pData"}));
    EXPECT_EQ(Catch([&] { property.Set(kToolMode, size, static_cast<void*>(nullptr)); }),
              (Raised{3, "[VALU] pData"}));
}

TEST_F(PropertyTest, SaveAndLoadFailOnAnyNonzeroResult) {
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nFA_SaveProperty.Result#1 = 2\n"
                          "FA_LoadProperty.Result#1 = 4\n"));
    EXPECT_EQ(Catch([] { CProperty::Save(kToolMode); }), (Raised{2, "[EVNT] FA_SaveProperty"}));
    EXPECT_EQ(Catch([] { CProperty::Load(kToolMode); }), (Raised{4, "[EVNT] FA_LoadProperty"}));
    EXPECT_EQ(Catch([] { CProperty::Save(kToolMode); }), Raised{});
    EXPECT_EQ(Trace(), "FA_SaveProperty(0x0100000a) FA_LoadProperty(0x0100000a) "
                       "FA_SaveProperty(0x0100000a)");
}

TEST_F(PropertyTest, SizeAndOffsetFailOnlyOnMinusOne) {
    CPublicProperty property;
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nFA_GetPropertyDataSize.Result#1 = 0\n"
                          "FA_GetPropertyDataSize.Result#2 = 0xFFFFFFFF\n"
                          "FA_GetDigitalPropertyDataOffset.Result#1 = 0xFFFFFFFE\n"
                          "FA_GetDigitalPropertyDataOffset.Result#2 = 0xFFFFFFFF\n"));
    EXPECT_EQ(property.GetSize(kToolMode), 0);
    EXPECT_EQ(Catch([&] { property.GetSize(kToolMode); }),
              (Raised{1, "[EVNT] FA_GetPropertyDataSize"}));
    EXPECT_EQ(property.GetOffset(kToolMode, "DeltaX"), -2);
    EXPECT_EQ(Catch([&] { property.GetOffset(kToolMode, "DeltaX"); }),
              (Raised{1, "[EVNT] FA_GetDigitalPropertyDataOffset"}));
    EXPECT_EQ(Trace(), "FA_GetPropertyDataSize(0x0100000a) FA_GetPropertyDataSize(0x0100000a) "
                       "FA_GetDigitalPropertyDataOffset(0x0100000a,\"DeltaX\") "
                       "FA_GetDigitalPropertyDataOffset(0x0100000a,\"DeltaX\")");
}

TEST_F(PropertyTest, SetupRunsOncePerDeviceOpen) {
    CPublicProperty property;
    CProperty::Initialize();
    property.Setup();
    property.Setup();
    EXPECT_EQ(sim.CallCount(0, "FA_SetupDigitalPropertyData"), 1u);
    ASSERT_EQ(OpenDevice(), 0);
    property.Setup();
    EXPECT_EQ(sim.CallCount(0, "FA_SetupDigitalPropertyData"), 2u);

    // A refused setup is tried again by the next call.
    CProperty::Initialize();
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\nFA_SetupDigitalPropertyData.Result#1 = 6\n"));
    EXPECT_EQ(Catch([&] { property.Setup(); }),
              (Raised{1, "[EVNT] FA_SetupDigitalPropertyData"}));
    property.Setup();
    EXPECT_EQ(sim.CallCount(0, "FA_SetupDigitalPropertyData"), 4u);
    EXPECT_EQ(Trace(), "FA_SetupDigitalPropertyData(0) FA_SetupDigitalPropertyData(0) "
                       "FA_SetupDigitalPropertyData(0) FA_SetupDigitalPropertyData(0)");
}

TEST_F(PropertyTest, SaveListRegistersInBatchesOfNine) {
    struct Case {
        unsigned listSize;
        unsigned pushed;
        std::vector<unsigned> batches;
    } cases[] = {{0, 0, {}}, {9, 9, {9}}, {20, 20, {9, 9, 2}}, {3, 1, {3}}};
    for (const Case& c : cases) {
        CPublicProperty property;
        if (c.listSize == 0) {
            property.ClearList();
        } else {
            property.InitializeList(c.listSize);
        }
        for (unsigned i = 0; i < c.pushed; ++i) {
            property.PushList(0x02000000 + i);
        }
        sim.ClearJournal();
        NewLogLines();
        property.SaveList();

        std::string expected = "FA_SetSavePropertyListNum(" + std::to_string(c.listSize) + ")";
        std::vector<std::string> lines;
        unsigned next = 0;
        for (unsigned batch : c.batches) {
            expected += " FA_RegistSavePropertyList(" + std::to_string(batch);
            for (unsigned i = 0; i < batch; ++i, ++next) {
                const unsigned id = next < c.pushed ? 0x02000000 + next : 0;
                char hex[16];
                std::snprintf(hex, sizeof(hex), "0x%08x", id);
                expected += std::string(",") + (id == 0 ? "0" : hex);
                lines.push_back(std::string("[VALU] PropertyID - ") + hex);
            }
            expected += ")";
        }
        expected += " FA_SavePropertyList(0)";
        EXPECT_EQ(Trace(), expected) << c.listSize;
        EXPECT_EQ(NewLogLines(), lines) << c.listSize;
    }
}

TEST_F(PropertyTest, SaveListMisuseAndRefusals) {
    CPublicProperty property;
    EXPECT_EQ(Catch([&] { property.InitializeList(0); }),
              (Raised{3, "[VALU] PropertyCountMax"}));
    property.InitializeList(3);
    for (unsigned id : {1u, 2u, 3u}) {
        property.PushList(id);
    }
    EXPECT_EQ(Catch([&] { property.PushList(4); }),
              (Raised{35, "[VALU] _pImpl->_PropertyIndex + 1"}));

    struct Case {
        const char* rule;
        Raised raised;
        unsigned runs;
    } cases[] = {
        {"FA_SetSavePropertyListNum.Result#1 = 3", {3, "[EVNT] FA_SetSavePropertyListNum"}, 1},
        {"FA_RegistSavePropertyList.Result#1 = 2", {2, "[EVNT] FA_RegistSavePropertyList"}, 2},
        {"FA_SavePropertyList.Result#1 = 7", {7, "[EVNT] FA_SavePropertyList"}, 3},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sim.Load(cameratest::kBaseScenario));
        ASSERT_TRUE(sim.Apply(std::string("[Camera0.Procedures]\n") + c.rule + "\n"));
        EXPECT_EQ(Catch([&] { property.SaveList(); }), c.raised);
        EXPECT_EQ(kvttest::SimExecutes(sim.Journal()).size(), c.runs) << c.rule;
    }
}

}  // namespace
