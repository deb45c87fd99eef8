// Opening and closing the device, and binding the transport once per process.
//
// OpenDevice binds and initialises the transport on its first successful call, and on
// every call enumerates and connects all attached cameras and selects camera 0.
// CloseDevice does no work: the cameras stay connected and the transport initialised
// until Corvane is unloaded, when its unload handler calls TerminateApiManager.
#pragma once

#include "common/ExportMacros.h"

extern "C" {
// 0 on success, else the failure code (1, 3, 33, 35).
CORVANE_API int __cdecl OpenDevice();
// Always 0.
CORVANE_API int __cdecl CloseDevice();
}

// Internal to Corvane. Load, bind and initialise the transport unless done before
// ("(Dup.)"); a failure leaves the next call to start again. 0 or the failure code.
int InitializeApiManager();
// Terminate and unload the transport if it was initialised. 0 or the failure code.
int TerminateApiManager();
