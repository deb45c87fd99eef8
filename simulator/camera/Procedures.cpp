#include "simulator/camera/Procedures.h"


namespace kvtsim {
namespace {
using namespace service;

const ProcedureRow kProcedures[] = {
    // Monitor: memory by processor kind, function calls by number.
    {"MonOpen", monitor::Open, 0},
    {"MonClose", monitor::Close, 0},
    {"MonReadAndGetData", monitor::Read, 0},
    {"MonWrite", monitor::Write, 0},
    {"MonCall", monitor::Call, 0},
    // Properties in three spaces, each with its own set/get/save/load.
    {"FA_SetProperty", property::Set, static_cast<unsigned>(Space::Public)},
    {"FA_GetProperty", property::Get, static_cast<unsigned>(Space::Public)},
    {"FA_SaveProperty", property::Save, static_cast<unsigned>(Space::Public)},
    {"FA_LoadProperty", property::Load, static_cast<unsigned>(Space::Public)},
    {"FA_SetPrivateProperty", property::Set, static_cast<unsigned>(Space::Private)},
    {"FA_GetPrivateProperty", property::Get, static_cast<unsigned>(Space::Private)},
    {"FA_SavePrivateProperty", property::Save, static_cast<unsigned>(Space::Private)},
    {"FA_LoadPrivateProperty", property::Load, static_cast<unsigned>(Space::Private)},
    {"FA_SetAdapterProperty", property::Set, static_cast<unsigned>(Space::Adapter)},
    {"FA_GetAdapterProperty", property::Get, static_cast<unsigned>(Space::Adapter)},
    {"FA_SaveAdapterProperty", property::Save, static_cast<unsigned>(Space::Adapter)},
    {"FA_LoadAdapterProperty", property::Load, static_cast<unsigned>(Space::Adapter)},
    {"FA_SetupDigitalPropertyData", property::SetupDigital, 0},
    {"FA_GetPropertyDataSize", property::DataSize, 0},
    {"FA_GetDigitalPropertyDataOffset", property::DigitalOffset, 0},
    // Saving a list of public properties in one transaction.
    {"FA_SetSavePropertyListNum", property::SetSaveListNum, 0},
    {"FA_RegistSavePropertyList", property::RegistSaveList, 0},
    {"FA_SavePropertyList", property::SaveList, 0},
    // Remote release and image transfer.
    {"FA_RemoteRelease", release::Release, 0},
    {"FA_GetRemoteReleasePlusImage", release::PlusImage, 0},
    {"FA_FinishRemoteRelease", release::Finish, 0},
    // A-board EEPROM words and the power save that guards them.
    {"FA_ReadEepromData", ReadEeprom, 0},
    {"FA_WriteEepromData", WriteEeprom, 0},
    {"DisablePowerSave", PowerSave, 0},
    {"EnablePowerSave", PowerSave, 1},
    // Calendar and camera log.
    {"FA_GetCalendar", GetCalendar, 0},
    {"FA_SetCalendar", SetCalendar, 0},
    {"FA_ResetCalendar", ResetCalendar, 0},
    {"FA_GetCameraLogStart", CameraLogStart, 0},
    {"FA_GetCameraLogEnd", CameraLogEnd, 0},
    // Transparent memory over named memory-data blocks.
    {"AttachToTransMemory", transmem::Attach, 0},
    {"AddTransMemory", transmem::Attach, 1},
    {"RemoveTransMemory", transmem::Remove, 0},
    {"GetTransMemory", transmem::Position, 0},
    // Machine-cell test steps and values the camera reports.
    {"FA_Get_DispDial_Result", CellValue, kDispDial},
    {"FA_Get_AccTest_Result", CellValue, kAccTest},
    {"FA_Get_SDialAdj_Result", CellValue, kSDialTest},
    {"FA_Overwrite_DispDial_Result", OverwriteDispDial, 0},
    {"FA_GuiFactoryClearResult", Accept, 0},
    {"FA_OpenSpecialMenu", Accept, 0},
    {"FA_CloseSpecialMenu", Accept, 0},
    {"FA_IncreaseGap", Accept, 0},
    {"FA_SendAccStartCommand", Accept, 0},
    {"FA_ExtFlashTest", Accept, 0},
    {"FA_SendMCellSetButton", Accept, 0},
    {"FA_GetIcuCheckSum", CellValue, kIcuCheckSum},
    // Settings, display, tune data: accepted; results from the scenario (default 0).
    {"dl_ExecJustNow", Accept, 0},
    {"DisableBootDisk", Accept, 0},
    {"EnableBootDisk", Accept, 0},
    {"FA_SetDefaultSetting", Accept, 0},
    {"prop_prohibitfromaccess", Accept, 0},
    {"ae_ignore_release", Accept, 0},
    {"FA_CopyVistaUniqueID", Accept, 0},
    {"FactDisp_TurnOffDisplay", Accept, 0},
    {"FactDisp_TurnOnDisplay", Accept, 0},
    {"FA_DISP_StartMix", Accept, 0},
    {"FA_Set_AudioVolumeOut", Accept, 0},
    {"FA_SetReleaseModeForSR", Accept, 0},
    {"FA_SetAccumulateTimeForSR", Accept, 0},
    {"FA_ClearReleaseModeForSR", Accept, 0},
    {"SaveTuneToFile", Accept, 0},
    {"SaveTune2ToFile", Accept, 0},
    {"SaveAETuneToFile", Accept, 0},
};
}  // namespace

const ProcedureRow* FindProcedure(const std::string& name) {
    for (const ProcedureRow& row : kProcedures) {
        if (name == row.name) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace kvtsim
