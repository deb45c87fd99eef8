// The plug-in's data procedures: adjustment property data, identity, firmware and
// board data, the camera log and tune data. Every procedure takes the caller's
// parameter pointer and returns a result code (0 = success).
#pragma once

namespace pellor {

// A-board EEPROM and digital adjustment offsets
unsigned long __cdecl DebugPrintABoardEepromData(void* p);
unsigned long __cdecl GetABoardEepromData(void* p);
unsigned long __cdecl SetABoardEepromData(void* p);
unsigned long __cdecl GetDigitalParaAdjData(void* p);

// Body identifier
unsigned long __cdecl SetBodyID(void* p);
unsigned long __cdecl GetBodyID(void* p);
unsigned long __cdecl SaveBodyID(void* p);

// Camera log
unsigned long __cdecl GetCameraLog(void* p);

// DL resonant frequency
unsigned long __cdecl CopyDLResonantFrequency(void* p);
unsigned long __cdecl SetDLResonantFrequency(void* p);
unsigned long __cdecl GetDLResonantFrequency(void* p);
unsigned long __cdecl SaveDLResonantFrequency(void* p);
unsigned long __cdecl GetBoardInfDLResonantFrequency(void* p);
unsigned long __cdecl SetBoardInfDLResonantFrequency(void* p);

// Firmware versions
unsigned long __cdecl GetIcuFirmwareVersion(void* p);
unsigned long __cdecl GetMpuFirmwareVersion(void* p);
unsigned long __cdecl GetIcuCheckSum(void* p);
unsigned long __cdecl GetIcuMasterVersion(void* p);
unsigned long __cdecl GetIcuSlaveVersion(void* p);
unsigned long __cdecl GetFpuVersion(void* p);
unsigned long __cdecl GetTpuVersion(void* p);
unsigned long __cdecl GetBpVersion(void* p);
unsigned long __cdecl GetEepromVersion(void* p);

// File prefix
unsigned long __cdecl SetFilePrefix(void* p);
unsigned long __cdecl GetFilePrefix(void* p);
unsigned long __cdecl SaveFilePrefix(void* p);
unsigned long __cdecl SetDefaultFilePrefix(void* p);

// Adjustment property data
unsigned long __cdecl SearchPropertyData(void* p);
unsigned long __cdecl LoadPropertyData(void* p);

// Tune data
unsigned long __cdecl SaveTuneData(void* p);
unsigned long __cdecl SaveTuneData2(void* p);
unsigned long __cdecl SaveAETuneData(void* p);

// Builds the property name index; called once per registration of the procedures.
unsigned long RegisterPropertyData();

}  // namespace pellor
