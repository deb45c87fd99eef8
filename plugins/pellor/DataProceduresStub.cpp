// Placeholder definitions so the plug-in links while the data procedures are written.
#include "plugins/pellor/DataProcedures.h"

namespace pellor {

unsigned long __cdecl DebugPrintABoardEepromData(void*) { return 35; }
unsigned long __cdecl GetABoardEepromData(void*) { return 35; }
unsigned long __cdecl SetABoardEepromData(void*) { return 35; }
unsigned long __cdecl GetDigitalParaAdjData(void*) { return 35; }
unsigned long __cdecl SetBodyID(void*) { return 35; }
unsigned long __cdecl GetBodyID(void*) { return 35; }
unsigned long __cdecl SaveBodyID(void*) { return 35; }
unsigned long __cdecl GetCameraLog(void*) { return 35; }
unsigned long __cdecl CopyDLResonantFrequency(void*) { return 35; }
unsigned long __cdecl SetDLResonantFrequency(void*) { return 35; }
unsigned long __cdecl GetDLResonantFrequency(void*) { return 35; }
unsigned long __cdecl SaveDLResonantFrequency(void*) { return 35; }
unsigned long __cdecl GetBoardInfDLResonantFrequency(void*) { return 35; }
unsigned long __cdecl SetBoardInfDLResonantFrequency(void*) { return 35; }
unsigned long __cdecl GetIcuFirmwareVersion(void*) { return 35; }
unsigned long __cdecl GetMpuFirmwareVersion(void*) { return 35; }
unsigned long __cdecl GetIcuCheckSum(void*) { return 35; }
unsigned long __cdecl GetIcuMasterVersion(void*) { return 35; }
unsigned long __cdecl GetIcuSlaveVersion(void*) { return 35; }
unsigned long __cdecl GetFpuVersion(void*) { return 35; }
unsigned long __cdecl GetTpuVersion(void*) { return 35; }
unsigned long __cdecl GetBpVersion(void*) { return 35; }
unsigned long __cdecl GetEepromVersion(void*) { return 35; }
unsigned long __cdecl SetFilePrefix(void*) { return 35; }
unsigned long __cdecl GetFilePrefix(void*) { return 35; }
unsigned long __cdecl SaveFilePrefix(void*) { return 35; }
unsigned long __cdecl SetDefaultFilePrefix(void*) { return 35; }
unsigned long __cdecl SearchPropertyData(void*) { return 35; }
unsigned long __cdecl LoadPropertyData(void*) { return 35; }
unsigned long __cdecl SaveTuneData(void*) { return 35; }
unsigned long __cdecl SaveTuneData2(void*) { return 35; }
unsigned long __cdecl SaveAETuneData(void*) { return 35; }
unsigned long RegisterPropertyData() { return 35; }

}  // namespace pellor
