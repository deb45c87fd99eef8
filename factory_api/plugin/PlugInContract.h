// The contract between the factory API library and its plug-ins.
//
// The host looks these exports up by exact, undecorated name; all are standard-call.
// A function exported only under a decorated name ("_Name@4") counts as missing.
//   RegisterEventProcList(RegisterEventProc)        required; the plug-in calls
//                                                    RegisterEventProc once per name
//   RegisterInitializeFuncList(AddInitializeFunc)   optional
//   RegisterTerminateFuncList(AddTerminateFunc)     optional
// The host functions handed over are caller-cleans. RegisterEventProc copies the three
// numbers at once and keeps the name and procedure pointers: the name texts must stay
// valid while the plug-in is loaded (the host clears its registry before it frees the
// plug-ins). Initialize and terminate functions get the argument 0; results ignored.
//
// Every pointer type carries its convention, so a mismatch fails to compile in the
// 32-bit build, where the conventions differ.
#pragma once

#include "factory_api/plugin/EventProcRecord.h"

// Host: adds one record and returns the previous head of its bucket (callers ignore it).
typedef EventProcRecord*(__cdecl* RegisterEventProc_t)(const char* name, EventProc_t procedure,
                                                       const unsigned long* parameterSize,
                                                       const unsigned long* direction,
                                                       const unsigned long* reserved);
// An initialize or terminate function of a plug-in.
typedef unsigned long(__cdecl* PlugInFunc_t)(unsigned long argument);
// Host: AddInitializeFunc / AddTerminateFunc.
typedef void(__cdecl* AddPlugInFunc_t)(PlugInFunc_t function);

// Plug-in exports.
typedef unsigned long(__stdcall* RegisterEventProcList_t)(RegisterEventProc_t registerEventProc);
typedef unsigned long(__stdcall* RegisterInitializeFuncList_t)(AddPlugInFunc_t addInitializeFunc);
typedef unsigned long(__stdcall* RegisterTerminateFuncList_t)(AddPlugInFunc_t addTerminateFunc);
// Optional; the host never calls it.
typedef unsigned long(__stdcall* GetEventProcList_t)(EventProcTable* table);

constexpr char kRegisterEventProcListExport[] = "RegisterEventProcList";
constexpr char kRegisterInitializeFuncListExport[] = "RegisterInitializeFuncList";
constexpr char kRegisterTerminateFuncListExport[] = "RegisterTerminateFuncList";
