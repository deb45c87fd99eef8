// The exported functions of the factory API library ("oxrmsg.dll"): plain functions,
// standard-call, exported by undecorated name (KvtQ517.def). Each returns an unsigned
// 32-bit result: 0 for success, else a failure code (29: device not open, 33: an
// unexpected failure, 35: a required object or value missing; codes of the core
// library and of event procedures pass through unchanged).
//
// Callers use the exports from one thread at a time.
#pragma once

extern "C" {

// Device
unsigned long __stdcall KVT_OpenDevice();
unsigned long __stdcall KVT_CloseDevice();

// Monitor sessions (camera memory by bank, camera functions by number)
unsigned long __stdcall KVT_MonitorOpenSession();
unsigned long __stdcall KVT_MonitorCloseSession();
unsigned long __stdcall KVT_MonitorChangeBank(unsigned long bankKind);
unsigned long __stdcall KVT_MonitorReadMemory(unsigned long address, unsigned long size,
                                              unsigned char* buffer);
unsigned long __stdcall KVT_MonitorWriteMemory(unsigned long address, unsigned long size,
                                               unsigned char* buffer);
unsigned long __stdcall KVT_MonitorCallFunction(unsigned long functionAddress);

// Event procedures: a registered name (at most 127 characters) and its parameter
// buffer; the S form also compares the registered parameter size.
unsigned long __stdcall KVT_ExecuteEventProc(const char* pEventProcName, void* pParameter);
unsigned long __stdcall KVT_ExecuteEventProcS(const char* pEventProcName, void* pParameter,
                                              unsigned long parameterSize);

}  // extern "C"

// Release parameters; release and transfer.
#include "factory_api/ReleaseParameterExports.h"
#include "factory_api/ReleaseAndTransferExports.h"
// Property files, paths and diagnostics.
#include "factory_api/PropertyFileExports.h"
