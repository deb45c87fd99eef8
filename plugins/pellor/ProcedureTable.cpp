// The registration table: all 131 names the plug-in offers, in registration order,
// each with its parameter size and direction (None: size 0, not compared by the host)
// and its procedure. A name and what its procedure does are found in its row: the row
// holds the behaviour itself, or names the function that has it (Call), or the first
// name of the same procedure (SameAs).
//
// Property identifiers named in the adjustment catalogue carry the name in a comment.
#include "plugins/pellor/ProcedureTable.h"

#include <array>
#include <cstring>
#include <string>
#include <utility>

#include "common/Exception.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/ProcedureRow.h"
#include "plugins/pellor/SettingsProcedures.h"

namespace pellor {
namespace {

constexpr std::uint32_t kCopyrightTexts[] = {0x0E070000, 0x0E070001};
constexpr std::uint32_t kTimeCodeProperties[] = {0x02070012, 0x02070013, 0x02070014,
                                                 0x02070015, 0x02070017, 0x02070018};

constexpr Shown kNumber = Shown::Number;
constexpr Shown kText = Shown::Text;

// clang-format off
constexpr ProcedureRow kTable[] = {
    // 1-4: A-board EEPROM, digital adjustment offsets
    {"DebugPrintABoardEepromData",       None(),   Call(&DebugPrintABoardEepromData)},
    {"GetABoardEepromData",              None(),   Call(&GetABoardEepromData)},
    {"SetABoardEepromData",              None(),   Call(&SetABoardEepromData)},
    {"GetDigitalParaAdjData",            Out(8),   Call(&GetDigitalParaAdjData)},
    // 5-8: autofocus
    {"DisableAF",                        None(),   Call(&DisableAF)},
    {"DisableAf",                        None(),   SameAs("DisableAF")},
    {"EnableAF",                         None(),   Call(&EnableAF)},
    {"EnableAf",                         None(),   SameAs("EnableAF")},
    // 9-12: auto active sweep
    {"DisableAutoActiveSweep",           None(),   Write(0x02070001, 4, 0)},
    {"EnableAutoActiveSweep",            None(),   Write(0x02070001, 4, 1)},
    {"SaveAutoActiveSweep",              None(),   Save(0x02070001)},
    {"ExecuteAutoActiveSweep",           None(),   Run("dl_ExecJustNow", 0)},
    // 13-15: auto lighting optimizer
    {"DisableAutoLightingOptimizer",     None(),   Write(0x8000003D, Bytes{0x03, 0x03, 0x00})},
    {"EnableAutoLightingOptimizer",      None(),   Write(0x8000003D, Bytes{0x00, 0x00, 0x00})},
    {"SaveAutoLightingOptimizer",        None(),   Save(0x8000003D)},
    // 16-20: auto power off (seconds; 0 = off)
    {"GetAutoPowerOffTime",              None(),   ReadInto(0x80000024, 4, "pAutoPowerOffTime")
                                                       .Logs("[VALU] AutoPowerOffTime - ", kNumber)},
    {"SetAutoPowerOffTime",              None(),   WriteFrom(0x80000024, 4, "pAutoPowerOffTime")},
    {"DisableAutoPowerOff",              None(),   Write(0x80000024, 4, 0)},
    {"EnableAutoPowerOff",               None(),   Write(0x80000024, 4, 60)},
    {"SaveAutoPowerOff",                 None(),   Save(0x80000024)},
    // 21: battery
    {"CheckBatteryStatus",               None(),   Call(&CheckBatteryStatus)},
    // 22-24: body identifier
    {"SetBodyID",                        In(20),   Call(&SetBodyID)},
    {"GetBodyID",                        Out(20),  Call(&GetBodyID)},
    {"SaveBodyID",                       None(),   Call(&SaveBodyID)},
    // 25-27: boot disk, camera log
    {"DisableBootDisk",                  None(),   TestedRun("DisableBootDisk", 0)},
    {"EnableBootDisk",                   None(),   TestedRun("EnableBootDisk", 0)},
    {"GetCameraLog",                     None(),   Call(&GetCameraLog)},
    // 28-34: defaults, flash-ROM access, AE ignore, MPU reset, Vista unique ID
    {"SetDefaultSettings",               None(),   TestedRun("FA_SetDefaultSetting", 0)},
    {"ProhibitFROMAccess",               None(),   Run("prop_prohibitfromaccess", 0)},
    {"SetAEIgnore",                      None(),   TestedRun("ae_ignore_release", 1)},
    {"MPUReset",                         None(),   Call(&MPUReset)},
    {"CopyWindowsVistaUniqueID",         None(),   Run("FA_CopyVistaUniqueID", 0)
                                                       .FailsWith("[FUNC] FA_CopyVistaUniqueID")},
    {"SaveWindowsVistaUniqueID",         None(),   Save(0x0100000C)},  // PROP_VISTA_UNIQUE_ID
    {"GetWindowsVistaUniqueID",          None(),   ReadInto(0x0100000C, 20, "pVistaUniqueID")},
    // 35-37: sensor number (PROP_SENSOR_NUMBER)
    {"SetSensorNumber",                  In(16),   WriteFrom(0x01000002, 16, "pSensorNumber")
                                                       .Logs("[VALU] SensorNumber - ", kText)},
    {"GetSensorNumber",                  Out(16),  ReadInto(0x01000002, 16, "pSensorNumber")
                                                       .Logs("[VALU] SensorNumber - ", kText)},
    {"SaveSensorNumber",                 None(),   Save(0x01000002)},
    // 38-39: artist and copyright texts
    {"ClearCopyRightInfo",               None(),   Call(&ClearCopyRightInfo)},
    {"SaveCopyRightInfo",                None(),   SaveList(kCopyrightTexts)},
    // 40-50: date and time, display format, time zone, summer time
    {"GetDateTime",                      None(),   Call(&GetDateTime)},
    {"SetDateTime",                      None(),   Call(&SetDateTime)},
    {"ResetDateTime",                    None(),   TestedRun("FA_ResetCalendar", 0)},
    {"SetDateDisplayFormat",             None(),   WriteFrom(0x02040005, 4, "pDateDisplayFormat")},
    {"GetDateDisplayFormat",             None(),   ReadInto(0x02040005, 4, "pDateDisplayFormat")},
    {"SaveDateDisplayFormat",            None(),   Save(0x02040005)},
    {"SetTimeZone",                      None(),   WriteFrom(0x0205001F, 4, "pTimeZone")},
    {"GetTimeZone",                      None(),   ReadInto(0x0205001F, 4, "pTimeZone")},
    {"SaveTimeZone",                     None(),   Save(0x0205001F)},
    {"SetSummertimeSetting",             None(),   WriteFrom(0x02050020, 4, "pSummertimeSetting")},
    {"SaveSummertimeSetting",            None(),   Save(0x02050020)},
    // 51-53: display
    {"TurnOffDisplay",                   None(),   Run("FactDisp_TurnOffDisplay", 0)
                                                       .FailsWith("[EVNT] TurnOffDisplay")
                                                       .LogName("_TurnOffDisplay")},
    {"TurnOnDisplay",                    None(),   Run("FactDisp_TurnOnDisplay", 0)
                                                       .FailsWith("[EVNT] TurnOnDisplay")
                                                       .LogName("_TurnOnDisplay")},
    {"OutputColorBarChart",              None(),   Call(&OutputColorBarChart)},
    // 54-59: DL resonant frequency
    {"CopyDLResonantFrequency",          None(),   Call(&CopyDLResonantFrequency)},
    {"SetDLResonantFrequency",           None(),   Call(&SetDLResonantFrequency)},
    {"GetDLResonantFrequency",           None(),   Call(&GetDLResonantFrequency)},
    {"SaveDLResonantFrequency",          None(),   Call(&SaveDLResonantFrequency)},
    {"GetBoardInfDLResonantFrequency",   None(),   Call(&GetBoardInfDLResonantFrequency)},
    {"SetBoardInfDLResonantFrequency",   None(),   Call(&SetBoardInfDLResonantFrequency)},
    // 60-61: file number
    {"ResetFileNumber",                  None(),   Write(0x02040008, 4, 0)},
    {"SaveFileNumber",                   None(),   Save(0x02040008)},
    // 62-70: firmware versions
    {"GetIcuFirmwareVersion",            None(),   Call(&GetIcuFirmwareVersion)},
    {"GetMpuFirmwareVersion",            None(),   Call(&GetMpuFirmwareVersion)},
    {"GetIcuCheckSum",                   None(),   Call(&GetIcuCheckSum)},
    {"GetIcuMasterVersion",              None(),   Call(&GetIcuMasterVersion)},
    {"GetIcuSlaveVersion",               None(),   Call(&GetIcuSlaveVersion)},
    {"GetFpuVersion",                    None(),   Call(&GetFpuVersion)},
    {"GetTpuVersion",                    None(),   Call(&GetTpuVersion)},
    {"GetBpVersion",                     None(),   Call(&GetBpVersion)},
    {"GetEepromVersion",                 None(),   Call(&GetEepromVersion)},
    // 71-74: file prefix
    {"SetFilePrefix",                    None(),   Call(&SetFilePrefix)},
    {"GetFilePrefix",                    None(),   Call(&GetFilePrefix)},
    {"SaveFilePrefix",                   None(),   Call(&SaveFilePrefix)},
    {"SetDefaultFilePrefix",             None(),   Call(&SetDefaultFilePrefix)},
    // 75-77: guidance (1 turns it off, 0 on)
    {"DisableGuidance",                  None(),   Write(0x0205001C, 4, 1)},
    {"EnableGuidance",                   None(),   Write(0x0205001C, 4, 0)},
    {"SaveGuidance",                     None(),   Save(0x0205001C)},
    // 78-81: high-ISO noise reduction, highlight tone priority
    {"SetHighIsoSpeedNoiseReduction",    None(),   ReadThenWriteFrom(0x80000049, 4, "pHighIsoSpeedNoiseReduction")},
    {"GetHighIsoSpeedNoiseReduction",    None(),   ReadInto(0x80000049, 4, "pHighIsoSpeedNoiseReduction")},
    {"DisableHighlightTonePriority",     None(),   ReadThenWrite(0x8000004A, 4, 0)},
    {"EnableHighlightTonePriority",      None(),   ReadThenWrite(0x8000004A, 4, 1)},
    // 82-87: language, limit language (PROP_LIMIT_LANGUAGE)
    {"SetLanguage",                      None(),   WriteFrom(0x02040002, 4, "pLanguage")},
    {"GetLanguage",                      None(),   ReadInto(0x02040002, 4, "pLanguage")},
    {"SaveLanguage",                     None(),   Save(0x02040002)},
    {"SetLimitLanguage",                 None(),   WriteFrom(0x01000012, 4, "pLanguage")},
    {"GetLimitLanguage",                 None(),   ReadInto(0x01000012, 4, "pLanguage")},
    {"SaveLimitLanguage",                None(),   Save(0x01000012)},
    // 88-90: lens, long-exposure noise reduction
    {"CheckLensActivity",                None(),   Call(&CheckLensActivity)},
    {"SetLongExposureNoiseReduction",    None(),   ReadThenWriteFrom(0x80000048, 4, "pLongExposureNoiseReduction")},
    {"GetLongExposureNoiseReduction",    None(),   ReadInto(0x80000048, 4, "pLongExposureNoiseReduction")},
    // 91-99: machine-cell test steps; results are not tested. No camera procedure that
    // decreases the dial click gap is known: the Decrease name runs the increasing one.
    {"ClearMachineCellResult",           None(),   Run("FA_GuiFactoryClearResult", 0)},
    {"EnterMachineCellSpecialMenu",      None(),   Run("FA_OpenSpecialMenu", 1)},
    {"ExitMachineCellSpecialMenu",       None(),   Run("FA_CloseSpecialMenu", 0)},
    {"IncreaseMachineCellDialClickGap",  None(),   Run("FA_IncreaseGap", 0)},
    {"DecreaseMachineCellDialClickGap",  None(),   Run("FA_IncreaseGap", 0)},
    {"EnterMachineCellAccTest",          None(),   Run("FA_SendAccStartCommand", 0)},
    {"ExecuteMachineCellAccTest",        None(),   SameAs("EnterMachineCellAccTest")},
    {"ExecuteMachineCellExternalStrobeTest", None(), Run("FA_ExtFlashTest", 0)},
    {"SendMachineCellSetButton",         None(),   Run("FA_SendMCellSetButton", 0)},
    // 100-106: machine-cell results, sound volume. The "Table" names are the result
    // getters under larger sizes; only the first 32-bit value is written.
    {"OverwriteMachineCellDispDialResult", In(4),  RunWith("FA_Overwrite_DispDial_Result", "pDispDialResult")},
    {"GetMachineCellDispDialResult",     Out(4),   ResultOf("FA_Get_DispDial_Result", 4, "pResult")},
    {"GetMachineCellAccTestResult",      Out(4),   ResultOf("FA_Get_AccTest_Result", 4, "pResult")},
    {"GetMachineCellSDialTestResult",    Out(4),   ResultOf("FA_Get_SDialAdj_Result", 4, "pResult")},
    {"GetMachineCellDispDialResultTable", Out(128), SameAs("GetMachineCellDispDialResult")},
    {"GetMachineCellAccTestResultTable", Out(96),  SameAs("GetMachineCellAccTestResult")},
    {"SetSoundVolume",                   In(4),    TestedRunWith("FA_Set_AudioVolumeOut", "pSoundVolume")},
    // 107-110: owner name
    {"SetOwnerName",                     None(),   WriteFrom(0x02000004, 32, "pOwnerName")},
    {"GetOwnerName",                     None(),   ReadInto(0x02000004, 32, "pOwnerName")},
    {"ClearOwnerName",                   None(),   Call(&ClearOwnerName)},
    {"SaveOwnerName",                    None(),   Save(0x02000004)},
    // 111-112: adjustment property data; the property index is built after row 112
    {"SearchPropertyData",               None(),   Call(&SearchPropertyData)},
    {"LoadPropertyData",                 None(),   Call(&LoadPropertyData)},
    // 113-117: sensor geometry, slit rolling mode, storage media
    {"GetSensorPixelPitch",              None(),   Call(&GetSensorPixelPitch)},
    {"GetSensorOpticalLength",           None(),   Call(&GetSensorOpticalLength)},
    {"SetSlitRollingMode",               None(),   Call(&SetSlitRollingMode)},
    {"ClearSlitRollingMode",             None(),   TestedRun("FA_ClearReleaseModeForSR", 0)},
    {"CheckStorageMediaExistence",       None(),   Call(&CheckStorageMediaExistence)},
    // 118-120: tune data
    {"SaveTuneData",                     None(),   Call(&SaveTuneData)},
    {"SaveTuneData2",                    None(),   Call(&SaveTuneData2)},
    {"SaveAETuneData",                   None(),   Call(&SaveAETuneData)},
    // 121-122: time code
    {"ResetTimeCode",                    None(),   Call(&ResetTimeCode)},
    {"SaveTimeCode",                     None(),   SaveList(kTimeCodeProperties)},
    // 123-125: touch sensor (0 turns it off, 1 on)
    {"DisableTouchSensor",               None(),   Write(0x02050027, 4, 0)},
    {"EnableTouchSensor",                None(),   Write(0x02050027, 4, 1)},
    {"SaveTouchSensor",                  None(),   Save(0x02050027)},
    // 126-128: factory mode (PROP_TUNING_FLAG: 0 = factory mode)
    {"EnterFactoryMode",                 None(),   WriteAndSave(0x01000000, 4, 0)},
    {"ExitFactoryMode",                  None(),   WriteAndSave(0x01000000, 4, 0xFFFFFFFF)},
    {"GetFactoryModeState",              None(),   ReadInto(0x01000000, 4, "pvParameter")
                                                       .Logs("[FUNC] State - ", kNumber)},
    // 129-131: video system
    {"SetVideoSystem",                   None(),   WriteFrom(0x02040003, 4, "pVideoSystem")},
    {"GetVideoSystem",                   None(),   ReadInto(0x02040003, 4, "pVideoSystem")},
    {"SaveVideoSystem",                  None(),   Save(0x02040003)},
};
// clang-format on

constexpr std::size_t kRowCount = sizeof(kTable) / sizeof(kTable[0]);
static_assert(kRowCount == kRegisteredNameCount, "the plug-in registers 131 names");

constexpr bool SameText(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// Row index of a name; a name that is not in the table does not compile.
constexpr std::size_t RowOf(const char* name) {
    for (std::size_t i = 0; i < kRowCount; ++i) {
        if (SameText(kTable[i].name, name)) {
            return i;
        }
    }
    throw "no row of that name";
}

constexpr bool NamesAreUnique() {
    for (std::size_t i = 0; i < kRowCount; ++i) {
        if (RowOf(kTable[i].name) != i) {
            return false;
        }
    }
    return true;
}
static_assert(NamesAreUnique(), "every name is registered once");

// Every action that touches the caller's buffer checks it for null first.
constexpr bool UsesParameter(Action action) {
    return action == Action::WriteFromParameter || action == Action::ReadIntoParameter ||
           action == Action::ReadThenWriteFromParameter || action == Action::RunWithParameter ||
           action == Action::RunForResult;
}
constexpr bool ParametersAreChecked() {
    for (const ProcedureRow& row : kTable) {
        if (UsesParameter(row.body.action) && row.body.check == nullptr) {
            return false;
        }
    }
    return true;
}
static_assert(ParametersAreChecked(), "rows that use the caller's buffer check it");

// The property index is built between these two rows.
constexpr std::size_t kPropertyIndexRow = RowOf("GetSensorPixelPitch");
static_assert(kPropertyIndexRow == 112 && RowOf("LoadPropertyData") == 111,
              "the property index follows LoadPropertyData");

template <std::size_t I>
unsigned long __cdecl RowProcedure(void* p) {
    return RunRow(kTable[I], p);
}

template <std::size_t I>
constexpr EventProc_t ProcedureOf() {
    constexpr Body body = kTable[I].body;
    if constexpr (body.action == Action::Call) {
        static_assert(body.procedure != nullptr, "a Call row names its function");
        return body.procedure;
    } else if constexpr (body.action == Action::SameAs) {
        constexpr std::size_t first = RowOf(body.sameAs);
        static_assert(kTable[first].body.action != Action::SameAs, "SameAs names a first name");
        return ProcedureOf<first>();
    } else {
        return &RowProcedure<I>;
    }
}

template <std::size_t... I>
constexpr std::array<EventProc_t, kRowCount> ResolveProcedures(std::index_sequence<I...>) {
    return {{ProcedureOf<I>()...}};
}

// The procedure of each row, in table order.
constexpr std::array<EventProc_t, kRowCount> kProcedures =
    ResolveProcedures(std::make_index_sequence<kRowCount>());

}  // namespace

void RegisterProcedures(RegisterEventProc_t registerEventProc) {
    if (registerEventProc == nullptr) {
        kvt::Fail("[VALU] RegisterEventProc", 3);
    }
    unsigned long indexResult = 0;
    for (std::size_t i = 0; i < kRowCount; ++i) {
        if (i == kPropertyIndexRow) {
            indexResult = RegisterPropertyData();
        }
        // The host copies the three numbers during the call.
        const unsigned long size = kTable[i].parameter.size;
        const unsigned long direction = kTable[i].parameter.direction;
        const unsigned long reserved = 0;
        registerEventProc(kTable[i].name, kProcedures[i], &size, &direction, &reserved);
    }
    RequireRoutineSuccess(indexResult, "RegisterPropertyData");
}

EventProc_t FindRegisteredProcedure(const char* name) noexcept {
    if (name == nullptr) {
        return nullptr;
    }
    for (std::size_t i = 0; i < kRowCount; ++i) {
        if (std::strcmp(kTable[i].name, name) == 0) {
            return kProcedures[i];
        }
    }
    return nullptr;
}

}  // namespace pellor
