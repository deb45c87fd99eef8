// The settings procedures with steps of their own; the others are rows of the
// procedure table (ProcedureTable.cpp). Every one takes the caller's parameter pointer
// and returns a result code (0 = success).
#pragma once

namespace pellor {

// Autofocus: byte 10 of property 0x80010007 (84 bytes), read, changed, written back.
unsigned long __cdecl DisableAF(void* p);
unsigned long __cdecl EnableAF(void* p);

// Byte 22 of property 0x8003001D: battery types 0 and 2 pass.
unsigned long __cdecl CheckBatteryStatus(void* p);

// Monitor sessions on bank 0xFC.
unsigned long __cdecl MPUReset(void* p);
unsigned long __cdecl CheckLensActivity(void* p);

// Artist and copyright texts (64 zero bytes each), owner name (32 zero bytes).
unsigned long __cdecl ClearCopyRightInfo(void* p);
unsigned long __cdecl ClearOwnerName(void* p);

// Date and time through the camera's 36-byte calendar.
unsigned long __cdecl GetDateTime(void* p);
unsigned long __cdecl SetDateTime(void* p);

// Display colour bar chart ("FA_DISP_StartMix" with 255 and 0).
unsigned long __cdecl OutputColorBarChart(void* p);

// Sensor geometry: the raw value in thousandths, as a double.
unsigned long __cdecl GetSensorPixelPitch(void* p);
unsigned long __cdecl GetSensorOpticalLength(void* p);

// Slit rolling mode: release mode, then the accumulate time in HD lines.
unsigned long __cdecl SetSlitRollingMode(void* p);

// Card slots 1 and 2.
unsigned long __cdecl CheckStorageMediaExistence(void* p);

// The six time-code properties back to 1 January 2000.
unsigned long __cdecl ResetTimeCode(void* p);

}  // namespace pellor
