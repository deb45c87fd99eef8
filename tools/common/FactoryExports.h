// Every export of the factory API library ("oxrmsg.dll"), bound by name at run time
// from a loaded library, as a factory program binds them. Shared by the tools and the
// test programs; the types are those of the public header, conventions included.
#pragma once

#include <string>
#include <vector>

#include "common/Win32.h"
#include "include/kvt_factory.h"

namespace kvttools {

struct FactoryExports {
    decltype(&KVT_OpenDevice) openDevice = nullptr;
    decltype(&KVT_CloseDevice) closeDevice = nullptr;
    decltype(&KVT_MonitorOpenSession) monitorOpenSession = nullptr;
    decltype(&KVT_MonitorCloseSession) monitorCloseSession = nullptr;
    decltype(&KVT_MonitorChangeBank) monitorChangeBank = nullptr;
    decltype(&KVT_MonitorReadMemory) monitorReadMemory = nullptr;
    decltype(&KVT_MonitorWriteMemory) monitorWriteMemory = nullptr;
    decltype(&KVT_MonitorCallFunction) monitorCallFunction = nullptr;
    decltype(&KVT_ExecuteEventProc) executeEventProc = nullptr;
    decltype(&KVT_ExecuteEventProcS) executeEventProcS = nullptr;
    decltype(&KVT_SetReleaseParameter) setReleaseParameter = nullptr;
    decltype(&KVT_GetReleaseParameter) getReleaseParameter = nullptr;
    decltype(&KVT_SetReleaseParameterEx) setReleaseParameterEx = nullptr;
    decltype(&KVT_GetReleaseParameterEx) getReleaseParameterEx = nullptr;
    decltype(&KVT_SetReleaseParameterS) setReleaseParameterS = nullptr;
    decltype(&KVT_GetReleaseParameterS) getReleaseParameterS = nullptr;
    decltype(&KVT_ReleaseAndTransfer) releaseAndTransfer = nullptr;
    decltype(&KVT_ReleaseAndTransferS) releaseAndTransferS = nullptr;
    decltype(&MVT_ReleaseAndTransfer) mvtReleaseAndTransfer = nullptr;
    decltype(&KVT_LoadProperty) loadProperty = nullptr;
    decltype(&KVT_SaveProperty) saveProperty = nullptr;
    decltype(&KVT_SetFilePath) setFilePath = nullptr;
    decltype(&KVT_DeleteFilePath) deleteFilePath = nullptr;
    decltype(&KVT_SetFolderPath) setFolderPath = nullptr;
    decltype(&KVT_DeleteFolderPath) deleteFolderPath = nullptr;
    decltype(&KVT_Debug) debug = nullptr;
};

// Binds every export of `library` into `exports` and returns the names it lacks (empty
// when all were found; the missing ones stay null).
std::vector<std::string> BindFactoryExports(HMODULE library, FactoryExports& exports);

}  // namespace kvttools
