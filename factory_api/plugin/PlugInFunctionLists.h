// The initialize and terminate functions the plug-ins add at library load; they run at
// every KVT_OpenDevice and KVT_CloseDevice, in order of addition, with the argument 0.
#pragma once

#include "factory_api/plugin/PlugInContract.h"

// Host functions handed to the plug-ins; a null function is refused (logged). Never
// let an exception out.
void __cdecl AddInitializeFunc(PlugInFunc_t function) noexcept;
void __cdecl AddTerminateFunc(PlugInFunc_t function) noexcept;

// Empty the list, then ask every plug-in through its optional export. No plug-ins:
// "[VALU] PlugInList.size()" (35).
unsigned long RegisterInitializeFuncList();
unsigned long RegisterTerminateFuncList();
unsigned long DeregisterInitializeFuncList();
unsigned long DeregisterTerminateFuncList();

// Run the lists; the functions' results are ignored.
unsigned long ExecuteInitializeFunc();
unsigned long ExecuteTerminateFunc();
