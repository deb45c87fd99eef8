// Monitor memory, EEPROM and power save, calendar, camera log, machine-cell values,
// the accepted service procedures and transparent memory.
#include <cstring>

#include "SimFixture.h"

using namespace simtest;

namespace {

class Service : public SimTest {
protected:
    std::string Scenario() const override {
        return "[Camera0]\nTemplate = empty\nCalendarRuns = 0\nCalendar = 2024-02-29 23:59:58\n"
               "CameraLog = \"line 1\\r\\n\" \"line 2\\r\\n\"\nDispDialResult = 0x11\n"
               "AccTestResult = 0x22\nSDialTestResult = 0x33\nIcuCheckSum = 0xBEEF\n"
               "[Camera0.Memory2]\n4117 = 01 e3 00 24\n"
               "[Camera0.Memory0]\n0x2000 = \"transparent\"\n"
               "[Camera0.Eeprom]\n5 = 0x1234\n";
    }
    std::vector<std::int32_t> Calendar() {
        std::string rec = Get("FA_GetCalendar", {}).data;
        std::vector<std::int32_t> fields;
        for (std::size_t i = 0; i + 4 <= rec.size(); i += 4) {
            std::int32_t v;
            std::memcpy(&v, rec.data() + i, 4);
            fields.push_back(v);
        }
        return fields;
    }
};

TEST_F(Service, MonitorReadsAndWritesMemoryPerProcessorKind) {
    EXPECT_EQ(Get("MonReadAndGetData", {I32(2), I32(4117), I32(6)}).data,
              std::string("\x01\xe3\x00\x24\x00\x00", 6));
    EXPECT_EQ(Get("MonReadAndGetData", {I32(1), I32(4117), I32(2)}).data, std::string(2, '\0'));
    ASSERT_EQ(Run("MonWrite", {I32(1), I32(0x1F28), I32(2), Block("\x12\x34")}).result, 0u);
    EXPECT_EQ(sim.Memory(0, 1, 0x1F28, 2), "\x12\x34");
    EXPECT_EQ(Run("MonOpen", {I32(0)}).result, 0u);
    EXPECT_EQ(sim.State(0, "MonitorSession"), 1u);
    EXPECT_EQ(Run("MonCall", {I32(0), I32(0x76)}).result, 0u);
    EXPECT_EQ(Run("MonClose", {I32(0)}).result, 0u);
    EXPECT_EQ(sim.State(0, "MonitorSession"), 0u);
    // Refused: processor kind 3, a block that does not match its size, a range past 4 GB.
    EXPECT_EQ(Run("MonReadAndGetData", {I32(3), I32(0), I32(4)}).result, 1u);
    EXPECT_EQ(Get("MonReadAndGetData", {I32(3), I32(0), I32(4)}).data.size(), 0u);
    EXPECT_EQ(Run("MonWrite", {I32(0), I32(0), I32(3), Block("\x01")}).result, 1u);
    EXPECT_EQ(Run("MonReadAndGetData", {I32(0), I32(0xFFFFFFFE), I32(4)}).result, 1u);
    EXPECT_EQ(Run("MonCall", {I32(0)}).result, 1u);
}

TEST_F(Service, EepromWordsAndPowerSave) {
    EXPECT_EQ(Run("FA_ReadEepromData", {I32(5)}).result, 0x1234u);
    EXPECT_EQ(Run("FA_ReadEepromData", {I32(6)}).result, 0xFFFFu);
    EXPECT_EQ(Run("FA_WriteEepromData", {I32(127), I32(0x12345678)}).result, 0u);
    EXPECT_EQ(Run("FA_ReadEepromData", {I32(127)}).result, 0x5678u);
    EXPECT_EQ(Run("FA_ReadEepromData", {I32(128)}).result, 0xFFFFFFFFu);
    EXPECT_EQ(Run("FA_WriteEepromData", {I32(128), I32(1)}).result, 1u);
    // A camera that guards its EEPROM with power save.
    ASSERT_TRUE(sim.Apply("[Camera0]\nEepromNeedsPowerSaveOff = 1\n"));
    EXPECT_EQ(sim.State(0, "PowerSave"), 1u);
    EXPECT_EQ(Run("FA_ReadEepromData", {I32(5)}).result, 0xFFFFFFFFu);
    EXPECT_EQ(Run("DisablePowerSave", {I32(0)}).result, 0u);
    EXPECT_EQ(Run("FA_ReadEepromData", {I32(5)}).result, 0x1234u);
    EXPECT_EQ(Run("EnablePowerSave", {I32(0)}).result, 0u);
    EXPECT_EQ(Run("FA_WriteEepromData", {I32(5), I32(1)}).result, 1u);
}

TEST_F(Service, CalendarRecordSetAndReset) {
    // second, minute, hour, day, month (0-11), year, weekday, day of year, 0
    EXPECT_EQ(Calendar(), (std::vector<std::int32_t>{58, 59, 23, 29, 1, 2024, 4, 59, 0}));
    std::vector<std::int32_t> set{5, 4, 3, 2, 0, 2025, 0, 0, 0};
    std::string record(reinterpret_cast<const char*>(set.data()), 36);
    ASSERT_EQ(Run("FA_SetCalendar", {Block(record)}).result, 0u);
    EXPECT_EQ(Calendar(), (std::vector<std::int32_t>{5, 4, 3, 2, 0, 2025, 4, 1, 0}));
    // An impossible date or a short record is refused and changes nothing.
    std::vector<std::int32_t> bad{0, 0, 0, 30, 1, 2025, 0, 0, 0};
    EXPECT_EQ(Run("FA_SetCalendar", {Block(std::string(reinterpret_cast<const char*>(bad.data()), 36))}).result, 1u);
    EXPECT_EQ(Run("FA_SetCalendar", {Block(record.substr(0, 24))}).result, 1u);
    EXPECT_EQ(Calendar()[5], 2025);
    ASSERT_EQ(Run("FA_ResetCalendar", {I32(0)}).result, 0u);
    EXPECT_EQ(Calendar(), (std::vector<std::int32_t>{0, 0, 0, 1, 0, 2000, 6, 0, 0}));
}

TEST_F(Service, CameraLogAndMachineCellValues) {
    EXPECT_EQ(Get("FA_GetCameraLogStart", {}).data, "line 1\r\nline 2\r\n");
    EXPECT_EQ(sim.State(0, "LogTransferOpen"), 1u);
    EXPECT_EQ(Run("FA_GetCameraLogEnd", {I32(0)}).result, 0u);
    EXPECT_EQ(sim.State(0, "LogTransferOpen"), 0u);
    EXPECT_EQ(Run("FA_Get_DispDial_Result", {I32(4)}).result, 0x11u);
    EXPECT_EQ(Run("FA_Get_AccTest_Result", {I32(4)}).result, 0x22u);
    EXPECT_EQ(Run("FA_Get_SDialAdj_Result", {I32(4)}).result, 0x33u);
    EXPECT_EQ(Run("FA_GetIcuCheckSum", {I32(0)}).result, 0xBEEFu);
    EXPECT_EQ(Run("FA_Overwrite_DispDial_Result", {I32(0x44)}).result, 0u);
    EXPECT_EQ(Run("FA_Get_DispDial_Result", {I32(4)}).result, 0x44u);
    ASSERT_TRUE(sim.Apply("[Camera0]\nCameraLog =\n"));
    EXPECT_EQ(Get("FA_GetCameraLogStart", {}).data.size(), 0u);
}

TEST_F(Service, ServiceProceduresAreAcceptedWithTheScenariosResult) {
    const char* names[] = {
        "dl_ExecJustNow", "DisableBootDisk", "EnableBootDisk", "FA_SetDefaultSetting",
        "prop_prohibitfromaccess", "ae_ignore_release", "FA_CopyVistaUniqueID",
        "FactDisp_TurnOffDisplay", "FactDisp_TurnOnDisplay", "FA_DISP_StartMix",
        "FA_Set_AudioVolumeOut", "FA_SetReleaseModeForSR", "FA_SetAccumulateTimeForSR",
        "FA_ClearReleaseModeForSR", "SaveTuneToFile", "SaveTune2ToFile", "SaveAETuneToFile",
        "FA_GuiFactoryClearResult", "FA_OpenSpecialMenu", "FA_CloseSpecialMenu",
        "FA_IncreaseGap", "FA_SendAccStartCommand", "FA_ExtFlashTest", "FA_SendMCellSetButton"};
    for (const char* name : names) {
        Ran r = Run(name, {I32(0)});
        EXPECT_EQ(r.status, 0u) << name;
        EXPECT_EQ(r.result, 0u) << name;
        ASSERT_TRUE(sim.ForceResult(0, name, 0, 3));
        EXPECT_EQ(Run(name, {I32(0)}).result, 3u) << name;
    }
}

TEST_F(Service, TransparentMemoryExposesRegisteredRanges) {
    EXPECT_EQ(Run("GetTransMemory", {Text("Tm")}).result, 0u);
    ASSERT_EQ(Run("AttachToTransMemory", {Text("Tm"), I32(0x2000), I32(11)}).result, 0u);
    EXPECT_EQ(Run("GetTransMemory", {Text("Tm")}).result, 0x2000u);
    unsigned size = 0, read = 0;
    ASSERT_EQ(k2pGetSizeOfMemoryData(Handle(), "Tm", &size), 0u);
    ASSERT_EQ(size, 11u);
    char buffer[11];
    ASSERT_EQ(k2pExecuteGetMemoryData(Handle(), buffer, 11, &read), 0u);
    EXPECT_EQ(std::string(buffer, read), "transparent");
    // Attach replaces a registration, Add refuses one; Remove ends it.
    EXPECT_EQ(Run("AttachToTransMemory", {Text("Tm"), I32(0x2005), I32(6)}).result, 0u);
    EXPECT_EQ(Run("AddTransMemory", {Text("Tm"), I32(0), I32(1)}).result, 1u);
    EXPECT_EQ(Run("AddTransMemory", {Text("Tm2"), I32(0x2000), I32(5)}).result, 0u);
    EXPECT_EQ(sim.State(0, "TransMemoryCount"), 2u);
    EXPECT_EQ(Run("RemoveTransMemory", {Text("Tm")}).result, 0u);
    EXPECT_EQ(Run("RemoveTransMemory", {Text("Tm")}).result, 1u);
    EXPECT_NE(k2pGetSizeOfMemoryData(Handle(), "Tm", &size), 0u);
}

}  // namespace
