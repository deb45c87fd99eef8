// The procedures that are rows of the plug-in's table, by kind of row: what each kind
// sends to the camera (identifiers, sizes, values, saves), what it gives back, and
// how it fails (null parameter, camera results with bit 0 set or clear, results that
// are not tested, failing transport).
#include <gtest/gtest.h>

#include <string>

#include "tests/pellor/ProcedureCases.h"

namespace pellorsettings {
namespace {

// A text in a field of `size` bytes, zero-filled, as hex.
std::string TextHex(const std::string& text, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

TEST(PellorTableRows, WritesOfConstants) {
    CheckCases("rows-write", {
        {"sweep off", "exec:DisableAutoActiveSweep", "", 0,
         "FA_SetProperty(0x02070001,4,[00000000])", "", "DisableAutoActiveSweep", {}},
        {"sweep on", "exec:EnableAutoActiveSweep", "", 0,
         "FA_SetProperty(0x02070001,4,[01000000])", "", "EnableAutoActiveSweep", {}},
        {"three bytes", "exec:DisableAutoLightingOptimizer", "", 0,
         "FA_SetProperty(0x8000003d,3,[030300])", "", "DisableAutoLightingOptimizer", {}},
        {"three zero bytes", "exec:EnableAutoLightingOptimizer", "", 0,
         "FA_SetProperty(0x8000003d,3,[000000])", "", "EnableAutoLightingOptimizer", {}},
        {"power off after 60 s", "exec:EnableAutoPowerOff", "", 0,
         "FA_SetProperty(0x80000024,4,[3c000000])", "", "EnableAutoPowerOff", {}},
        {"file number", "exec:ResetFileNumber", "", 0,
         "FA_SetProperty(0x02040008,4,[00000000])", "", "ResetFileNumber", {}},
        // Guidance: 1 is off; touch sensor: 0 is off.
        {"guidance off", "exec:DisableGuidance", "", 0,
         "FA_SetProperty(0x0205001c,4,[01000000])", "", "DisableGuidance", {}},
        {"guidance on", "exec:EnableGuidance", "", 0,
         "FA_SetProperty(0x0205001c,4,[00000000])", "", "EnableGuidance", {}},
        {"touch sensor off", "exec:DisableTouchSensor", "", 0,
         "FA_SetProperty(0x02050027,4,[00000000])", "", "DisableTouchSensor", {}},
        {"touch sensor on", "exec:EnableTouchSensor", "", 0,
         "FA_SetProperty(0x02050027,4,[01000000])", "", "EnableTouchSensor", {}},
        // A set result is judged by bit 0.
        {"set refused", "exec:DisableGuidance", CameraProcedure("FA_SetProperty", "3"), 3,
         "FA_SetProperty(0x0205001c,4,[01000000])", "", "DisableGuidance",
         {"[ERR!] - [EVNT] FA_Set*Property"}},
        {"set result 2 passes", "exec:DisableGuidance", CameraProcedure("FA_SetProperty", "2"), 0,
         "FA_SetProperty(0x0205001c,4,[01000000])", "", "DisableGuidance", {}},
        // Read first, then write the constant.
        {"read then write", "exec:DisableHighlightTonePriority", "", 0,
         "FA_GetProperty(0x8000004a,4) FA_SetProperty(0x8000004a,4,[00000000])", "",
         "DisableHighlightTonePriority", {}},
        {"read then write 1", "exec:EnableHighlightTonePriority", "", 0,
         "FA_GetProperty(0x8000004a,4) FA_SetProperty(0x8000004a,4,[01000000])", "",
         "EnableHighlightTonePriority", {}},
        // Write and save in one procedure; a refused write is not saved.
        {"factory mode on", "exec:EnterFactoryMode", "", 0,
         "FA_SetProperty(0x01000000,4,[00000000]) FA_SaveProperty(0x01000000)", "",
         "EnterFactoryMode", {}},
        {"factory mode off", "exec:ExitFactoryMode", "", 0,
         "FA_SetProperty(0x01000000,4,[ffffffff]) FA_SaveProperty(0x01000000)", "",
         "ExitFactoryMode", {}},
        {"factory mode write refused", "exec:EnterFactoryMode",
         CameraProcedure("FA_SetProperty", "1"), 1, "FA_SetProperty(0x01000000,4,[00000000])", "",
         "EnterFactoryMode", {"[ERR!] - [EVNT] FA_Set*Property"}},
    });
}

TEST(PellorTableRows, SavesOfOneAndOfAList) {
    CheckCases("rows-save", {
        {"save", "exec:SaveAutoActiveSweep", "", 0, "FA_SaveProperty(0x02070001)", "",
         "SaveAutoActiveSweep", {}},
        {"save names itself", "exec:SaveSummertimeSetting", "", 0, "FA_SaveProperty(0x02050020)",
         "", "SaveSummertimeSetting", {}},
        {"save limit language", "exec:SaveLimitLanguage", "", 0, "FA_SaveProperty(0x01000012)",
         "", "SaveLimitLanguage", {}},
        // Any nonzero save result fails.
        {"save result 2", "exec:SaveVideoSystem", CameraProcedure("FA_SaveProperty", "2"), 2,
         "FA_SaveProperty(0x02040003)", "", "SaveVideoSystem", {"[ERR!] - [EVNT] FA_SaveProperty"}},
        {"list of six", "exec:SaveTimeCode", "", 0,
         "FA_SetSavePropertyListNum(6) FA_RegistSavePropertyList(6,0x02070012,0x02070013,"
         "0x02070014,0x02070015,0x02070017,0x02070018) FA_SavePropertyList(0)",
         "", "SaveTimeCode", {"[VALU] PropertyID - 0x02070018"}},
        {"list of two", "exec:SaveCopyRightInfo", "", 0,
         "FA_SetSavePropertyListNum(2) FA_RegistSavePropertyList(2,0x0e070000,0x0e070001) "
         "FA_SavePropertyList(0)",
         "", "SaveCopyRightInfo", {}},
    });
}

TEST(PellorTableRows, WritesAndReadsOfTheCallersBuffer) {
    CheckCases("rows-buffer", {
        {"write from the caller", "exec:SetLanguage:4:05000000", "", 0,
         "FA_SetProperty(0x02040002,4,[05000000])", "", "SetLanguage", {}},
        {"names itself", "exec:SetLimitLanguage:4:02000000", "", 0,
         "FA_SetProperty(0x01000012,4,[02000000])", "", "SetLimitLanguage", {}},
        {"text of 16", "exec:SetSensorNumber:16:" + TextHex("SN-0042", 16), "", 0,
         "FA_SetProperty(0x01000002,16,[" + TextHex("SN-0042", 16) + "])", "", "SetSensorNumber",
         {"[VALU] SensorNumber - SN-0042"}},
        // Sixteen letters without a terminating zero: the log shows exactly those.
        {"text without its zero", "exec:SetSensorNumber:20:" + TextHex("ABCDEFGHIJKLMNOP", 16),
         "", 0, "FA_SetProperty(0x01000002,16,[" + TextHex("ABCDEFGHIJKLMNOP", 16) + "])", "",
         "SetSensorNumber", {"[VALU] SensorNumber - ABCDEFGHIJKLMNOP"}},
        {"owner name of 32", "exec:SetOwnerName:32:" + TextHex("Tavol Service", 32), "", 0,
         "FA_SetProperty(0x02000004,32,[" + TextHex("Tavol Service", 32) + "])", "", "SetOwnerName",
         {}},
        {"read into the caller", "exec:GetLanguage:8", PublicProperty("0x02040002", "u32:7"), 0,
         "FA_GetProperty(0x02040002,4)", "07000000cccccccc", "GetLanguage", {}},
        {"read with its value logged", "exec:GetAutoPowerOffTime:4",
         PublicProperty("0x80000024", "u32:180"), 0, "FA_GetProperty(0x80000024,4)", "b4000000",
         "GetAutoPowerOffTime", {"[VALU] AutoPowerOffTime - 180"}},
        {"factory mode state", "exec:GetFactoryModeState:4", "", 0, "FA_GetProperty(0x01000000,4)",
         "ffffffff", "GetFactoryModeState", {"[FUNC] State - 4294967295"}},
        {"text read and logged", "exec:GetSensorNumber:16", "", 0, "FA_GetProperty(0x01000002,16)",
         TextHex("S5H2-0041273", 16), "GetSensorNumber", {"[VALU] SensorNumber - S5H2-0041273"}},
        {"20 bytes", "exec:GetWindowsVistaUniqueID:20", "", 0, "FA_GetProperty(0x0100000c,20)",
         "4b565400113245012345000000000000000000" "01", "GetWindowsVistaUniqueID", {}},
        // A camera answering with more than the buffer holds is refused, nothing copied.
        {"answer too long", "exec:GetLanguage:4", PublicProperty("0x02040002", "u32:7 u32:8"), 35,
         "FA_GetProperty(0x02040002,4)", "cccccccc", "GetLanguage",
         {"[ERR!] - [VALU] ReturnDataSize"}},
        // Read first; the caller's value replaces what was read.
        {"read then write the caller's", "exec:SetHighIsoSpeedNoiseReduction:4:02000000", "", 0,
         "FA_GetProperty(0x80000049,4) FA_SetProperty(0x80000049,4,[02000000])", "",
         "SetHighIsoSpeedNoiseReduction", {}},
        {"failing read, no write", "exec:SetLongExposureNoiseReduction:4:01000000",
         CameraProcedure("FA_GetProperty.Status", "7"), 7, "FA_GetProperty(0x80000048,4)", "",
         "SetLongExposureNoiseReduction", {}},
    });
}

TEST(PellorTableRows, NullParameterFailsBeforeAnyCameraTraffic) {
    CheckCases("rows-null", {
        {"read", "null:GetLanguage", "", 3, "", "", "GetLanguage", {"[ERR!] - [VALU] pLanguage"}},
        {"write", "null:SetAutoPowerOffTime", "", 3, "", "", "SetAutoPowerOffTime",
         {"[ERR!] - [VALU] pAutoPowerOffTime"}},
        {"text", "null:SetSensorNumber", "", 3, "", "", "SetSensorNumber",
         {"[ERR!] - [VALU] pSensorNumber"}},
        {"read then write", "null:SetHighIsoSpeedNoiseReduction", "", 3, "", "",
         "SetHighIsoSpeedNoiseReduction", {"[ERR!] - [VALU] pHighIsoSpeedNoiseReduction"}},
        {"factory mode state", "null:GetFactoryModeState", "", 3, "", "", "GetFactoryModeState",
         {"[ERR!] - [VALU] pvParameter"}},
        {"result getter", "null:GetMachineCellDispDialResult", "", 3, "", "",
         "GetMachineCellDispDialResult", {"[ERR!] - [VALU] pResult"}},
        // The two runs with the caller's value check it too.
        {"overwrite dial result", "null:OverwriteMachineCellDispDialResult", "", 3, "", "",
         "OverwriteMachineCellDispDialResult", {"[ERR!] - [VALU] pDispDialResult"}},
        {"sound volume", "null:SetSoundVolume", "", 3, "", "", "SetSoundVolume",
         {"[ERR!] - [VALU] pSoundVolume"}},
    });
}

TEST(PellorTableRows, RunsOfCameraProcedures) {
    CheckCases("rows-run", {
        {"untested run", "exec:ExecuteAutoActiveSweep", "", 0, "dl_ExecJustNow(0)", "",
         "ExecuteAutoActiveSweep", {}},
        {"untested run, camera result 3", "exec:ExecuteAutoActiveSweep",
         CameraProcedure("dl_ExecJustNow", "3"), 0, "dl_ExecJustNow(0)", "",
         "ExecuteAutoActiveSweep", {}},
        {"untested run, failing transport", "exec:ExecuteAutoActiveSweep",
         CameraProcedure("dl_ExecJustNow.Status", "7"), 7, "dl_ExecJustNow(0)", "",
         "ExecuteAutoActiveSweep", {}},
        {"tested run", "exec:SetDefaultSettings", "", 0, "FA_SetDefaultSetting(0)", "",
         "SetDefaultSettings", {}},
        {"tested run, camera result 3", "exec:SetDefaultSettings",
         CameraProcedure("FA_SetDefaultSetting", "3"), 3, "FA_SetDefaultSetting(0)", "",
         "SetDefaultSettings", {"[ERR!] - [EVNT] FA_SetDefaultSetting"}},
        {"tested run, camera result 2", "exec:SetDefaultSettings",
         CameraProcedure("FA_SetDefaultSetting", "2"), 0, "FA_SetDefaultSetting(0)", "",
         "SetDefaultSettings", {}},
        {"tested run with 1", "exec:SetAEIgnore", "", 0, "ae_ignore_release(1)", "", "SetAEIgnore",
         {}},
        {"boot disk refused", "exec:DisableBootDisk", CameraProcedure("DisableBootDisk", "1"), 1,
         "DisableBootDisk(0)", "", "DisableBootDisk", {"[ERR!] - [EVNT] DisableBootDisk"}},
        {"own message", "exec:CopyWindowsVistaUniqueID",
         CameraProcedure("FA_CopyVistaUniqueID", "5"), 5, "FA_CopyVistaUniqueID(0)", "",
         "CopyWindowsVistaUniqueID", {"[ERR!] - [FUNC] FA_CopyVistaUniqueID"}},
        {"log name of its own", "exec:TurnOffDisplay", CameraProcedure("FactDisp_TurnOffDisplay", "1"),
         1, "FactDisp_TurnOffDisplay(0)", "", "_TurnOffDisplay", {"[ERR!] - [EVNT] TurnOffDisplay"}},
        {"display on", "exec:TurnOnDisplay", "", 0, "FactDisp_TurnOnDisplay(0)", "", "_TurnOnDisplay",
         {}},
        {"display on refused", "exec:TurnOnDisplay", CameraProcedure("FactDisp_TurnOnDisplay", "3"), 3,
         "FactDisp_TurnOnDisplay(0)", "", "_TurnOnDisplay", {"[ERR!] - [EVNT] TurnOnDisplay"}},
        {"slit rolling cleared", "exec:ClearSlitRollingMode", "", 0, "FA_ClearReleaseModeForSR(0)",
         "", "ClearSlitRollingMode", {}},
        {"special menu with 1", "exec:EnterMachineCellSpecialMenu", "", 0, "FA_OpenSpecialMenu(1)", "",
         "EnterMachineCellSpecialMenu", {}},
        {"decrease runs the increase", "exec:DecreaseMachineCellDialClickGap", "", 0,
         "FA_IncreaseGap(0)", "", "DecreaseMachineCellDialClickGap", {}},
        {"strobe test not tested", "exec:ExecuteMachineCellExternalStrobeTest",
         CameraProcedure("FA_ExtFlashTest", "7"), 0, "FA_ExtFlashTest(0)", "",
         "ExecuteMachineCellExternalStrobeTest", {}},
        {"caller's value, not tested", "exec:OverwriteMachineCellDispDialResult:4:2a000000",
         CameraProcedure("FA_Overwrite_DispDial_Result", "1"), 0, "FA_Overwrite_DispDial_Result(42)",
         "", "OverwriteMachineCellDispDialResult", {}},
        {"caller's value, tested", "exec:SetSoundVolume:4:07000000", "", 0,
         "FA_Set_AudioVolumeOut(7)", "", "SetSoundVolume", {}},
        {"caller's value, refused", "exec:SetSoundVolume:4:07000000",
         CameraProcedure("FA_Set_AudioVolumeOut", "3"), 3, "FA_Set_AudioVolumeOut(7)", "",
         "SetSoundVolume", {"[ERR!] - [EVNT] FA_Set_AudioVolumeOut"}},
        {"result into the caller", "exec:GetMachineCellSDialTestResult:8",
         CameraKey("SDialTestResult", "9"), 0, "FA_Get_SDialAdj_Result(4)", "09000000cccccccc",
         "GetMachineCellSDialTestResult", {}},
    });
}

// The rows no case above runs, each once: a wrong identifier, size, constant or
// camera-side procedure name in any row of the table shows here.
TEST(PellorTableRows, EveryOtherSimpleRow) {
    const std::string owner = TextHex("Owner", 32);
    // A run with 0 whose camera result (3) is not looked at.
    auto untested = [](const char* name, const char* procedure) {
        return ProcedureCase{name, std::string("exec:") + name, CameraProcedure(procedure, "3"), 0,
                             std::string(procedure) + "(0)", "", name, {}};
    };
    CheckCases("rows-rest", {
        // Writes of constants.
        {"auto power off disabled", "exec:DisableAutoPowerOff", "", 0,
         "FA_SetProperty(0x80000024,4,[00000000])", "", "DisableAutoPowerOff", {}},
        // Writes from the caller's buffer.
        {"auto power off time", "exec:SetAutoPowerOffTime:4:b4000000", "", 0,
         "FA_SetProperty(0x80000024,4,[b4000000])", "", "SetAutoPowerOffTime", {}},
        {"date display format", "exec:SetDateDisplayFormat:4:02000000", "", 0,
         "FA_SetProperty(0x02040005,4,[02000000])", "", "SetDateDisplayFormat", {}},
        {"time zone", "exec:SetTimeZone:4:09000000", "", 0,
         "FA_SetProperty(0x0205001f,4,[09000000])", "", "SetTimeZone", {}},
        {"summertime", "exec:SetSummertimeSetting:4:01000000", "", 0,
         "FA_SetProperty(0x02050020,4,[01000000])", "", "SetSummertimeSetting", {}},
        {"video system", "exec:SetVideoSystem:4:01000000", "", 0,
         "FA_SetProperty(0x02040003,4,[01000000])", "", "SetVideoSystem", {}},
        // Reads into the caller's buffer.
        {"date display format read", "exec:GetDateDisplayFormat:4",
         PublicProperty("0x02040005", "u32:2"), 0, "FA_GetProperty(0x02040005,4)", "02000000",
         "GetDateDisplayFormat", {}},
        {"time zone read", "exec:GetTimeZone:4", PublicProperty("0x0205001F", "u32:9"), 0,
         "FA_GetProperty(0x0205001f,4)", "09000000", "GetTimeZone", {}},
        {"video system read", "exec:GetVideoSystem:4", PublicProperty("0x02040003", "u32:1"), 0,
         "FA_GetProperty(0x02040003,4)", "01000000", "GetVideoSystem", {}},
        {"limit language read", "exec:GetLimitLanguage:4", PublicProperty("0x01000012", "u32:3"), 0,
         "FA_GetProperty(0x01000012,4)", "03000000", "GetLimitLanguage", {}},
        {"owner name read", "exec:GetOwnerName:32", PublicProperty("0x02000004", "4f 77 6e 65 72 pad:32"),
         0, "FA_GetProperty(0x02000004,32)", owner, "GetOwnerName", {}},
        {"high ISO noise reduction read", "exec:GetHighIsoSpeedNoiseReduction:4",
         PublicProperty("0x80000049", "u32:2"), 0, "FA_GetProperty(0x80000049,4)", "02000000",
         "GetHighIsoSpeedNoiseReduction", {}},
        {"long exposure noise reduction read", "exec:GetLongExposureNoiseReduction:4",
         PublicProperty("0x80000048", "u32:1"), 0, "FA_GetProperty(0x80000048,4)", "01000000",
         "GetLongExposureNoiseReduction", {}},
        // Saves.
        {"save auto lighting optimizer", "exec:SaveAutoLightingOptimizer", "", 0,
         "FA_SaveProperty(0x8000003d)", "", "SaveAutoLightingOptimizer", {}},
        {"save auto power off", "exec:SaveAutoPowerOff", "", 0, "FA_SaveProperty(0x80000024)", "",
         "SaveAutoPowerOff", {}},
        {"save date display format", "exec:SaveDateDisplayFormat", "", 0,
         "FA_SaveProperty(0x02040005)", "", "SaveDateDisplayFormat", {}},
        {"save time zone", "exec:SaveTimeZone", "", 0, "FA_SaveProperty(0x0205001f)", "",
         "SaveTimeZone", {}},
        {"save file number", "exec:SaveFileNumber", "", 0, "FA_SaveProperty(0x02040008)", "",
         "SaveFileNumber", {}},
        {"save guidance", "exec:SaveGuidance", "", 0, "FA_SaveProperty(0x0205001c)", "",
         "SaveGuidance", {}},
        {"save language", "exec:SaveLanguage", "", 0, "FA_SaveProperty(0x02040002)", "",
         "SaveLanguage", {}},
        {"save owner name", "exec:SaveOwnerName", "", 0, "FA_SaveProperty(0x02000004)", "",
         "SaveOwnerName", {}},
        {"save sensor number", "exec:SaveSensorNumber", "", 0, "FA_SaveProperty(0x01000002)", "",
         "SaveSensorNumber", {}},
        {"save touch sensor", "exec:SaveTouchSensor", "", 0, "FA_SaveProperty(0x02050027)", "",
         "SaveTouchSensor", {}},
        {"save unique id", "exec:SaveWindowsVistaUniqueID", "", 0, "FA_SaveProperty(0x0100000c)",
         "", "SaveWindowsVistaUniqueID", {}},
        // Runs: tested ones fail on bit 0 of the camera's result, untested ones never.
        {"boot disk enabled", "exec:EnableBootDisk", CameraProcedure("EnableBootDisk", "1"), 1,
         "EnableBootDisk(0)", "", "EnableBootDisk", {"[ERR!] - [EVNT] EnableBootDisk"}},
        {"calendar reset", "exec:ResetDateTime", CameraProcedure("FA_ResetCalendar", "3"), 3,
         "FA_ResetCalendar(0)", "", "ResetDateTime", {"[ERR!] - [EVNT] FA_ResetCalendar"}},
        untested("ProhibitFROMAccess", "prop_prohibitfromaccess"),
        untested("ClearMachineCellResult", "FA_GuiFactoryClearResult"),
        untested("ExitMachineCellSpecialMenu", "FA_CloseSpecialMenu"),
        untested("IncreaseMachineCellDialClickGap", "FA_IncreaseGap"),
        untested("SendMachineCellSetButton", "FA_SendMCellSetButton"),
        {"acc test entered", "exec:EnterMachineCellAccTest", "", 0, "FA_SendAccStartCommand(0)",
         "", "EnterMachineCellAccTest", {}},
        {"acc test result", "exec:GetMachineCellAccTestResult:4", CameraKey("AccTestResult", "5"), 0,
         "FA_Get_AccTest_Result(4)", "05000000", "GetMachineCellAccTestResult", {}},
    });
}

}  // namespace
}  // namespace pellorsettings
