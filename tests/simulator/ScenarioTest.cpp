// Scenarios: the built-in default camera, templates and merging, forced results and
// statuses, injected transport faults, and refused scenario texts.
#include "SimFixture.h"
#include "simulator/camera/Status.h"

using namespace simtest;

namespace {

class Scenarios : public SimTest {};

std::uint32_t TwoCounter(const std::string& b) {
    auto u = [&](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(b[i])); };
    return u(0) * 65535 + u(1) * 255 + u(3);
}
std::uint32_t ThreeByte(const std::string& b) {
    auto u = [&](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(b[i])); };
    return u(0) * 65536 + u(1) * 256 + u(2);
}

TEST_F(Scenarios, TheBuiltInCameraIsPlausible) {
    ASSERT_TRUE(sim.Reset()) << sim.Error();  // no KVTItoPTP.ini beside the test's library
    ConnectAll();
    ASSERT_EQ(handles.size(), 1u);
    EXPECT_EQ(Get("FA_GetProperty", {I32(0x0100000A), I32(4)}).data, Le32(0xFFFFFFFF));
    std::string body = Get("FA_GetProperty", {I32(0x01000006), I32(8)}).data;
    ASSERT_EQ(body.size(), 8u);
    for (std::uint32_t id : {0x02000001u, 0x02000005u, 0x02000006u, 0x02000007u}) {
        EXPECT_EQ(Get("FA_GetProperty", {I32(id), I32(36)}).data.size(), 36u) << std::hex << id;
    }
    EXPECT_EQ(Get("FA_GetProperty", {I32(0x80030000), I32(4)}).data.size(), 4u);
    std::string battery = Get("FA_GetProperty", {I32(0x8003001D), I32(96)}).data;
    ASSERT_EQ(battery.size(), 96u);
    EXPECT_EQ(battery[22], 0);
    EXPECT_NE(Run("FA_ReadEepromData", {I32(0)}).result, 0xFFFFu);
    // Counters in bank 0xEE (processor kind 2) for every model's addresses.
    for (std::uint32_t address : {4117u, 4107u, 4097u, 4131u}) {
        std::string rec = Get("MonReadAndGetData", {I32(2), I32(address), I32(10)}).data;
        ASSERT_EQ(rec.size(), 10u);
        EXPECT_GT(TwoCounter(rec), 1000u) << address;
        EXPECT_LT(TwoCounter(rec), 1000000u) << address;
    }
    for (std::uint32_t address : {6661u, 4933u}) {
        std::string rec = Get("MonReadAndGetData", {I32(2), I32(address), I32(3)}).data;
        EXPECT_EQ(ThreeByte(rec), 123456u) << address;
    }
}

TEST_F(Scenarios, NewCamerasStartFromTheDefaultUnlessEmpty) {
    ASSERT_TRUE(sim.Load("[Cameras]\nCount = 2\n[Camera0]\nToolMode = 0\n"
                         "[Camera1]\nTemplate = empty\n"));
    EXPECT_EQ(sim.Property(0, 0, 0x0100000A), Le32(0));
    EXPECT_EQ(sim.Property(0, 0, 0x8003001D).size(), 96u);  // from the template
    EXPECT_EQ(sim.Property(1, 0, 0x8003001D), "");
    EXPECT_EQ(sim.Property(1, 0, 0x0100000A), Le32(0xFFFFFFFF));
    // Merging: a larger count adds a camera from its template, values are overlaid.
    ASSERT_TRUE(sim.Apply("[Cameras]\nCount = 3\n[Camera2]\nToolMode = 5\n"
                          "[Camera0.Public]\n0x99 = 01\n")) << sim.Error();
    EXPECT_EQ(sim.State(0, "CameraCount"), 3u);
    EXPECT_EQ(sim.Property(2, 0, 0x8003001D).size(), 96u);
    EXPECT_EQ(sim.Property(2, 0, 0x0100000A), Le32(5));
    EXPECT_EQ(sim.Property(0, 0, 0x99), "\x01");
    EXPECT_EQ(sim.Property(0, 0, 0x0100000A), Le32(0));
    EXPECT_FALSE(sim.Apply("[Camera0]\nTemplate = empty\n"));
}

TEST_F(Scenarios, ForcedResultsStatusesAndReturnDataPerCall) {
    ASSERT_TRUE(sim.Apply("[Camera0.Procedures]\n"
                          "FA_SetDefaultSetting#2 = 3\n"
                          "FA_SetProperty.Status#1 = 9\n"
                          "FA_GetCalendar.ReturnData = 01 02\n"
                          "MonReadAndGetData.ExtraBytes = 2\n"
                          "MyProcedure.Result = 0x55\n"));
    EXPECT_EQ(Run("FA_SetDefaultSetting", {I32(0)}).result, 0u);
    EXPECT_EQ(Run("FA_SetDefaultSetting", {I32(0)}).result, 3u);
    EXPECT_EQ(Run("FA_SetDefaultSetting", {I32(0)}).result, 0u);
    // A forced status fails the call at the transport; the procedure does not run.
    EXPECT_EQ(Run("FA_SetProperty", {I32(0x50), I32(1), Block("\x01")}).status, 9u);
    EXPECT_EQ(sim.Property(0, 0, 0x50), "");
    EXPECT_EQ(Run("FA_SetProperty", {I32(0x50), I32(1), Block("\x01")}).status, 0u);
    EXPECT_EQ(Get("FA_GetCalendar", {}).data, "\x01\x02");
    // Oversized return data: more bytes than the read asked for.
    EXPECT_EQ(Get("MonReadAndGetData", {I32(2), I32(0), I32(10)}).data.size(), 12u);
    // A procedure named only in the scenario exists on this camera.
    EXPECT_EQ(Run("MyProcedure", {}).result, 0x55u);
    EXPECT_EQ(sim.CallCount(0, "FA_SetDefaultSetting"), 3u);
}

TEST_F(Scenarios, TransportFaultsFromTheScenarioAndFromTests) {
    ASSERT_TRUE(sim.Load("[Camera0]\nTemplate = empty\n[Faults]\nk2pConnectCamera#2 = 5\n"));
    ConnectAll();  // the first connect after loading
    void* records;
    unsigned count, h;
    ASSERT_EQ(k2pGetDeviceInfoArray(&records, &count), 0u);
    EXPECT_EQ(k2pConnectCamera(records, &h), 5u);
    EXPECT_EQ(k2pConnectCamera(records, &h), 0u);
    EXPECT_EQ(sim.CallCount(0, "k2pConnectCamera"), 3u);
    // Every call until removed; a fault precedes every other check.
    ASSERT_TRUE(sim.SetFault("k2pGetReturnDataSize", 0, 7));
    unsigned size;
    EXPECT_EQ(k2pGetReturnDataSize(&size), 7u);
    EXPECT_EQ(k2pGetReturnDataSize(nullptr), 7u);
    ASSERT_TRUE(sim.SetFault("k2pGetReturnDataSize", 0, 0));
    EXPECT_EQ(k2pGetReturnDataSize(&size), 0u);
    ASSERT_TRUE(sim.SetFault("k2pExecuteRemoteEventProcedure", 2, 0x80000001u));
    EXPECT_EQ(Run("MonOpen", {I32(0)}).status, 0u);
    EXPECT_EQ(Run("MonOpen", {I32(0)}).status, 0x80000001u);
    EXPECT_EQ(Run("MonOpen", {I32(0)}).status, 0u);
    EXPECT_FALSE(sim.SetFault("k2pNoSuchFunction", 1, 3));
}

TEST_F(Scenarios, BadScenariosAreRefusedWithTheirLineAndChangeNothing) {
    ASSERT_TRUE(sim.Load("[Camera0]\nTemplate = empty\nName = Kept\n"));
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"[Camera0]\nNoSuchKey = 1\n", "line 2: unknown key"},
        {"[Camera0.Public]\n0x10 = 0g\n", "line 2: '0g' is not hexadecimal"},
        {"[Camera0.Public]\n0x10 = 012\n", "not hexadecimal"},
        {"[Camera0.Public]\n0x10 = u8:256\n", "fits"},
        {"[Camera0.Public]\n0x10 = \"open\n", "unterminated"},
        {"[Camera0.Public]\n0x10 = file:Z:\\no\\such\\file\n", "cannot read the file"},
        {"[Cameras]\nCount = 9\n", "Count is 0 to 8"},
        {"[Cameras]\nCount = 1\n[Camera1]\nName = x\n", "beyond the camera count"},
        {"[Camera0.Eeprom]\n128 = 1\n", "EEPROM addresses"},
        {"[Camera0.Procedures]\nX.Sometimes = 1\n", "Result, Status, ReturnData or ExtraBytes"},
        {"[Camera0.Procedures]\nX#0 = 1\n", "#1"},
        {"[Faults]\nk2pNope = 1\n", "not a transport function"},
        {"[Nowhere]\nA = 1\n", "unknown section"},
        {"key = 1\n", "before the first section"},
        {"[Camera0\n", "ends with ']'"},
        {"[Camera0]\nCalendar = 2024-02-30 00:00:00\n", "Calendar is"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(sim.Load(c.text)) << c.text;
        EXPECT_NE(sim.Error().find(c.message), std::string::npos) << c.text << " -> " << sim.Error();
    }
    void* records;
    unsigned count;
    ASSERT_EQ(k2pGetDeviceInfoArray(&records, &count), 0u);
    ASSERT_EQ(count, 1u);
    EXPECT_STREQ(static_cast<const char*>(records) + 272, "Kept");
}

}  // namespace
