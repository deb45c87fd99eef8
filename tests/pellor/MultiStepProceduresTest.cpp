// The settings procedures with steps of their own: the values they compute, the order
// of their camera traffic, and what a failing step leaves done or undone.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/pellor/ProcedureCases.h"
#include "tests/pellor/SettingsFolder.h"

namespace pellorsettings {
namespace {

std::string Repeat(const std::string& hex, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += hex;
    }
    return out;
}

// A battery status block of 96 bytes with the battery type at byte 22.
std::string BatteryBlock(unsigned type) {
    return PublicProperty("0x8003001D", "zeros:22 u8:" + std::to_string(type) + " zeros:73");
}

TEST(PellorMultiStepProcedures, AutofocusChangesOneByteOfTheBlock) {
    const std::string block = PublicProperty("0x80010007", "fill:84:5a");
    const std::string off = Repeat("5a", 10) + "01" + Repeat("5a", 73);
    const std::string on = Repeat("5a", 10) + "00" + Repeat("5a", 73);
    CheckCases("autofocus", {
        {"off", "exec:DisableAF", block, 0,
         "FA_GetProperty(0x80010007,84) FA_SetProperty(0x80010007,84,[" + off + "])", "",
         "DisableAF", {}},
        {"on", "exec:EnableAF", block, 0,
         "FA_GetProperty(0x80010007,84) FA_SetProperty(0x80010007,84,[" + on + "])", "",
         "EnableAF", {}},
        // Writing back a block the camera sent only part of would put zeros in place of
        // the rest.
        {"short block not written back", "exec:DisableAF",
         PublicProperty("0x80010007", "fill:20:5a"), 35, "FA_GetProperty(0x80010007,84)", "",
         "DisableAF", {"[ERR!] - [VALU] ReturnDataSize"}},
    });
}

TEST(PellorMultiStepProcedures, BatteryTypes) {
    CheckCases("battery", {
        {"type 0", "exec:CheckBatteryStatus", BatteryBlock(0), 0, "FA_GetProperty(0x8003001d,96)",
         "", "CheckBatteryStatus", {"[VALU] BatteryStatus - 0"}},
        {"type 2", "exec:CheckBatteryStatus", BatteryBlock(2), 0, "FA_GetProperty(0x8003001d,96)",
         "", "CheckBatteryStatus", {"[VALU] BatteryStatus - 2"}},
        {"type 1", "exec:CheckBatteryStatus", BatteryBlock(1), 35, "FA_GetProperty(0x8003001d,96)",
         "", "CheckBatteryStatus", {"[VALU] BatteryStatus - 1", "[ERR!] - [VALU] BatteryType"}},
        {"type in hex", "exec:CheckBatteryStatus", BatteryBlock(0x1a), 35,
         "FA_GetProperty(0x8003001d,96)", "", "CheckBatteryStatus", {"[VALU] BatteryStatus - 1a"}},
        // 20 zero bytes would read as type 0, a pass the camera never reported.
        {"short block", "exec:CheckBatteryStatus", PublicProperty("0x8003001D", "zeros:20"), 35,
         "FA_GetProperty(0x8003001d,96)", "", "CheckBatteryStatus",
         {"[ERR!] - [VALU] ReturnDataSize"}},
    });
}

TEST(PellorMultiStepProcedures, MonitorSessions) {
    const std::string active = CameraProcedure("MonReadAndGetData.ReturnData", "02 12 80 12 20 90 00 01");
    CheckCases("monitor", {
        {"reset", "exec:MPUReset", "", 0, "MonOpen(0) MonCall(0,118) MonClose(0)", "", "MPUReset",
         {"[MNTR] Call  : FunctionNo = 0x76(118)"}},
        // A failing step inside the session still closes it.
        {"reset refused, session closed", "exec:MPUReset", CameraProcedure("MonCall", "5"), 5,
         "MonOpen(0) MonCall(0,118) MonClose(0)", "", "MPUReset", {"[ERR!] - [EVNC] MonCall"}},
        {"open refused, nothing to close", "exec:MPUReset", CameraProcedure("MonOpen", "3"), 3,
         "MonOpen(0)", "", "MPUReset", {"[ERR!] - [EVNC] MonOpen"}},
        {"lens active", "exec:CheckLensActivity", active, 0,
         "MonOpen(0) MonWrite(1,0,8,[0712801220900000]) MonCall(0,15) MonReadAndGetData(1,0,8) "
         "MonWrite(1,0,8,[0212801220900001]) MonCall(0,15) MonClose(0)",
         "", "CheckLensActivity", {"[VALU] lStatus - 1"}},
        // The memory reads back the command: status bit 0.
        {"lens inactive", "exec:CheckLensActivity", "", 35,
         "MonOpen(0) MonWrite(1,0,8,[0712801220900000]) MonCall(0,15) MonReadAndGetData(1,0,8) "
         "MonWrite(1,0,8,[0212801220900000]) MonCall(0,15) MonClose(0)",
         "", "CheckLensActivity", {"[VALU] lStatus - 0", "[ERR!] - [VALU] lStatus"}},
        // Fewer than 8 bytes: no eighth byte to judge, and nothing is sent back.
        {"lens short answer", "exec:CheckLensActivity",
         CameraProcedure("MonReadAndGetData.ReturnData", "02 12 80"), 35,
         "MonOpen(0) MonWrite(1,0,8,[0712801220900000]) MonCall(0,15) MonReadAndGetData(1,0,8) "
         "MonClose(0)",
         "", "CheckLensActivity", {"[ERR!] - [VALU] ReturnDataSize"}},
        {"lens call refused, session closed", "exec:CheckLensActivity",
         CameraProcedure("MonCall", "9"), 9,
         "MonOpen(0) MonWrite(1,0,8,[0712801220900000]) MonCall(0,15) MonClose(0)", "",
         "CheckLensActivity", {"[ERR!] - [EVNC] MonCall"}},
    });
}

TEST(PellorMultiStepProcedures, SlitRollingModeLimitsTheHdLines) {
    CheckCases("slit-rolling", {
        {"84 gives 3716", "exec:SetSlitRollingMode:4:54000000", "", 0,
         "FA_SetReleaseModeForSR(0) FA_SetAccumulateTimeForSR(3716)", "", "SetSlitRollingMode",
         {"[VALU] HdNum - 3716"}},
        // The release mode set first stays set.
        {"85 gives 3761, refused", "exec:SetSlitRollingMode:4:55000000", "", 3,
         "FA_SetReleaseModeForSR(0)", "", "SetSlitRollingMode",
         {"[VALU] HdNum - 3761", "[ERR!] HD_Count is Over", "[ERR!] - [EVNT] nHDCount"}},
        {"the largest value", "exec:SetSlitRollingMode:4:ffffffff", "", 3,
         "FA_SetReleaseModeForSR(0)", "", "SetSlitRollingMode", {"[VALU] HdNum - 190042800663"}},
        {"release mode refused", "exec:SetSlitRollingMode:4:54000000",
         CameraProcedure("FA_SetReleaseModeForSR", "1"), 1, "FA_SetReleaseModeForSR(0)", "",
         "SetSlitRollingMode", {"[ERR!] - [EVNT] FA_SetReleaseModeForSR"}},
        {"accumulate time refused", "exec:SetSlitRollingMode:4:01000000",
         CameraProcedure("FA_SetAccumulateTimeForSR", "3"), 3,
         "FA_SetReleaseModeForSR(0) FA_SetAccumulateTimeForSR(44)", "", "SetSlitRollingMode",
         {"[ERR!] - [EVNT] FA_SetAccumulateTimeForSR"}},
        {"null", "null:SetSlitRollingMode", "", 3, "", "", "SetSlitRollingMode",
         {"[ERR!] - [VALU] pParameter"}},
    });
}

TEST(PellorMultiStepProcedures, SensorGeometryInThousandths) {
    const std::string pitch = "exec:GetSensorPixelPitch:8";
    const std::string length = "exec:GetSensorOpticalLength:8";
    CheckCases("geometry", {
        {"pitch 1999", pitch, PublicProperty("0x01000003", "u32:1999"), 0,
         "FA_GetProperty(0x01000003,4)", HexOf(1.999), "GetSensorPixelPitch", {}},
        {"pitch -1999", pitch, PublicProperty("0x01000003", "u32:0xFFFFF831"), 0,
         "FA_GetProperty(0x01000003,4)", HexOf(-1.999), "GetSensorPixelPitch", {}},
        {"length 1999 is cut", length, PublicProperty("0x01000004", "u32:1999"), 0,
         "FA_GetProperty(0x01000004,4)", HexOf(1.0), "GetSensorOpticalLength", {}},
        {"length -1999 is cut toward zero", length, PublicProperty("0x01000004", "u32:0xFFFFF831"), 0,
         "FA_GetProperty(0x01000004,4)", HexOf(-1.0), "GetSensorOpticalLength", {}},
        // A camera keeping the 2-byte catalogue size: a signed 16-bit value.
        {"pitch of 2 bytes", pitch, PublicProperty("0x01000003", "u16:0xF831"), 0,
         "FA_GetProperty(0x01000003,4)", HexOf(-1.999), "GetSensorPixelPitch", {}},
        {"pitch of 3 bytes", pitch, PublicProperty("0x01000003", "01 02 03"), 35,
         "FA_GetProperty(0x01000003,4)", "cccccccccccccccc", "GetSensorPixelPitch",
         {"[ERR!] - [VALU] ReturnDataSize"}},
        {"null", "null:GetSensorOpticalLength", "", 3, "", "", "GetSensorOpticalLength",
         {"[ERR!] - [VALU] &pdblOpticalLength"}},
    });
}

TEST(PellorMultiStepProcedures, DateAndTimeInTheCalendarsReverseOrder) {
    // 15 March 2024 10:30:45; the camera counts months from 0.
    const std::string frozen = "[Camera0]\nCalendar = 2024-03-15 10:30:45\nCalendarRuns = 0\n";
    const std::string dateTime = HexOf(std::int32_t{2024}) + HexOf(std::int32_t{2}) +
                                 HexOf(std::int32_t{15}) + HexOf(std::int32_t{10}) +
                                 HexOf(std::int32_t{30}) + HexOf(std::int32_t{45});
    const std::string calendar = HexOf(std::int32_t{45}) + HexOf(std::int32_t{30}) +
                                 HexOf(std::int32_t{10}) + HexOf(std::int32_t{15}) +
                                 HexOf(std::int32_t{2}) + HexOf(std::int32_t{2024}) +
                                 std::string(24, '0');
    CheckCases("calendar", {
        {"get", "exec:GetDateTime:28", frozen, 0, "FA_GetCalendar()", dateTime + "cccccccc",
         "GetDateTime", {"[FUNC] _GetCalendar", "[FUNC] _GetCalendar - 0"}},
        {"set", "exec:SetDateTime:24:" + dateTime, "", 0, "FA_SetCalendar([" + calendar + "])", "",
         "SetDateTime", {"[FUNC] _GetCalendar", "[FUNC] _GetCalendar - 0"}},
        {"set result not tested", "exec:SetDateTime:24:" + dateTime,
         CameraProcedure("FA_SetCalendar", "1"), 0, "FA_SetCalendar([" + calendar + "])", "",
         "SetDateTime", {}},
        {"get fails in its routine", "exec:GetDateTime:24", CameraProcedure("FA_GetCalendar.Status", "7"),
         7, "FA_GetCalendar()", "cccccccc", "GetDateTime",
         {"[FUNC] _GetCalendar - 7", "[ERR!] - [FUNC] _GetCalendar"}},
        {"short calendar", "exec:GetDateTime:24",
         CameraProcedure("FA_GetCalendar.ReturnData", "zeros:24"), 35, "FA_GetCalendar()",
         "cccccccc", "GetDateTime", {"[ERR!] - [VALU] ReturnDataSize", "[ERR!] - [FUNC] _GetCalendar"}},
        {"null", "null:SetDateTime", "", 3, "", "", "SetDateTime", {"[ERR!] - [VALU] pDateTime"}},
    });
}

TEST(PellorMultiStepProcedures, StorageMediaAndTheResultTable) {
    CheckCases("media-table", {
        {"two slots", "exec:CheckStorageMediaExistence:8", PublicProperty("0x8000001E", "u32:1"), 0,
         "FA_GetProperty(0x8000001d,4) FA_GetProperty(0x8000001e,4)", "0100000001000000",
         "CheckStorageMediaExistence", {"[VALU] CARD Slot1 : 1", "[VALU] CARD Slot2 : 1"}},
        // Both values start at 0; the first stays stored when the second read fails.
        {"second slot fails", "exec:CheckStorageMediaExistence:8",
         CameraProcedure("FA_GetProperty.Status#2", "7"), 7,
         "FA_GetProperty(0x8000001d,4) FA_GetProperty(0x8000001e,4)", "0100000000000000",
         "CheckStorageMediaExistence", {}},
        // A 2-byte answer is not stored as a slot state.
        {"short answer", "exec:CheckStorageMediaExistence:8", PublicProperty("0x8000001D", "01 00"),
         35, "FA_GetProperty(0x8000001d,4)", "0000000000000000", "CheckStorageMediaExistence",
         {"[ERR!] - [VALU] ReturnDataSize"}},
        {"null", "null:CheckStorageMediaExistence", "", 3, "", "", "CheckStorageMediaExistence",
         {"[ERR!] - [VALU] pStorageMediaExistence"}},
        // Registered with 96 bytes, the getter writes the first 4 only.
        {"96-byte table", "execs:GetMachineCellAccTestResultTable:96:96", CameraKey("AccTestResult", "7"),
         0, "FA_Get_AccTest_Result(4)", "07000000" + Repeat("cc", 92), "GetMachineCellAccTestResult",
         {}},
    });
}

TEST(PellorMultiStepProcedures, TimeCodeColourBarAndOwnerTexts) {
    const std::string baseInfo = Repeat("00000000", 4) + "01000000" + "00000000" + "d0070000" +
                                 "06000000" + Repeat("00000000", 3);
    CheckCases("texts", {
        {"time code reset", "exec:ResetTimeCode", "", 0,
         "FA_GetProperty(0x02070012,4) FA_GetProperty(0x02070013,44) FA_GetProperty(0x02070014,4) "
         "FA_GetProperty(0x02070015,4) FA_GetProperty(0x02070017,4) FA_GetProperty(0x02070018,4) "
         "FA_SetProperty(0x02070012,4,[00000000]) FA_SetProperty(0x02070013,44,[" + baseInfo + "]) "
         "FA_SetProperty(0x02070014,4,[01000000]) FA_SetProperty(0x02070015,4,[00000000]) "
         "FA_SetProperty(0x02070017,4,[00000000]) FA_SetProperty(0x02070018,4,[00000000])",
         "", "ResetTimeCode",
         {"[FUNC] TIMECODE_T           - 4", "[FUNC] TM_T                 - 40",
          "[FUNC] TIMECODE_BASEINFO_T  - 44"}},
        {"colour bars", "exec:OutputColorBarChart", "", 0, "FA_DISP_StartMix(255,0)", "",
         "_OutputColorBarChart", {}},
        {"colour bars refused", "exec:OutputColorBarChart", CameraProcedure("FA_DISP_StartMix", "3"), 3,
         "FA_DISP_StartMix(255,0)", "", "_OutputColorBarChart", {"[ERR!] - [EVNT] FA_DISP_StartMix"}},
        {"copyright cleared", "exec:ClearCopyRightInfo", "", 0,
         "FA_SetProperty(0x0e070000,64,[" + Repeat("00", 64) + "]) FA_SetProperty(0x0e070001,64,[" +
             Repeat("00", 64) + "])",
         "", "ClearCopyRightInfo",
         {"[FUNC] _SetArtistInfo", "[FUNC] _SetArtistInfo - 0", "[FUNC] _SetCopyRighInfo",
          "[FUNC] _SetCopyRighInfo - 0"}},
        {"artist refused, copyright untouched", "exec:ClearCopyRightInfo",
         CameraProcedure("FA_SetProperty.Result#1", "3"), 3,
         "FA_SetProperty(0x0e070000,64,[" + Repeat("00", 64) + "])", "", "ClearCopyRightInfo",
         {"[FUNC] _SetArtistInfo - 3", "[ERR!] - [FUNC] _SetArtistInfo"}},
        {"copyright refused", "exec:ClearCopyRightInfo", CameraProcedure("FA_SetProperty.Result#2", "5"),
         5,
         "FA_SetProperty(0x0e070000,64,[" + Repeat("00", 64) + "]) FA_SetProperty(0x0e070001,64,[" +
             Repeat("00", 64) + "])",
         "", "ClearCopyRightInfo", {"[FUNC] _SetCopyRighInfo - 5", "[ERR!] - [FUNC] _SetCopyRighInfo"}},
        {"owner name through SetOwnerName", "exec:ClearOwnerName", "", 0,
         "FA_SetProperty(0x02000004,32,[" + Repeat("00", 32) + "])", "", "ClearOwnerName",
         {"[FUNC] SetOwnerName", "[FUNC] SetOwnerName - 0"}},
        {"owner name refused", "exec:ClearOwnerName", CameraProcedure("FA_SetProperty", "3"), 3,
         "FA_SetProperty(0x02000004,32,[" + Repeat("00", 32) + "])", "", "ClearOwnerName",
         {"[ERR!] - [FUNC] SetOwnerName"}},
    });
}

}  // namespace
}  // namespace pellorsettings
