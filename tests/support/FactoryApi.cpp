#include "support/FactoryApi.h"

#include <cstdio>

namespace kvttest {
namespace {

template <class Fn>
bool BindOne(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
    if (fn == nullptr) {
        std::printf("@@ missing export %s\n", name);
    }
    return fn != nullptr;
}

}  // namespace

bool FactoryApi::Bind(HMODULE m) {
    bool ok = BindOne(m, "KVT_OpenDevice", openDevice);
    ok = BindOne(m, "KVT_CloseDevice", closeDevice) && ok;
    ok = BindOne(m, "KVT_MonitorOpenSession", monitorOpenSession) && ok;
    ok = BindOne(m, "KVT_MonitorCloseSession", monitorCloseSession) && ok;
    ok = BindOne(m, "KVT_MonitorChangeBank", monitorChangeBank) && ok;
    ok = BindOne(m, "KVT_MonitorReadMemory", monitorReadMemory) && ok;
    ok = BindOne(m, "KVT_MonitorWriteMemory", monitorWriteMemory) && ok;
    ok = BindOne(m, "KVT_MonitorCallFunction", monitorCallFunction) && ok;
    ok = BindOne(m, "KVT_ExecuteEventProc", executeEventProc) && ok;
    ok = BindOne(m, "KVT_ExecuteEventProcS", executeEventProcS) && ok;
    ok = BindOne(m, "KVT_SetReleaseParameter", setReleaseParameter) && ok;
    ok = BindOne(m, "KVT_GetReleaseParameter", getReleaseParameter) && ok;
    ok = BindOne(m, "KVT_SetReleaseParameterEx", setReleaseParameterEx) && ok;
    ok = BindOne(m, "KVT_GetReleaseParameterEx", getReleaseParameterEx) && ok;
    ok = BindOne(m, "KVT_SetReleaseParameterS", setReleaseParameterS) && ok;
    ok = BindOne(m, "KVT_GetReleaseParameterS", getReleaseParameterS) && ok;
    ok = BindOne(m, "KVT_ReleaseAndTransfer", releaseAndTransfer) && ok;
    ok = BindOne(m, "KVT_ReleaseAndTransferS", releaseAndTransferS) && ok;
    ok = BindOne(m, "MVT_ReleaseAndTransfer", mvtReleaseAndTransfer) && ok;
    ok = BindOne(m, "KVT_LoadProperty", loadProperty) && ok;
    ok = BindOne(m, "KVT_SaveProperty", saveProperty) && ok;
    ok = BindOne(m, "KVT_SetFilePath", setFilePath) && ok;
    ok = BindOne(m, "KVT_DeleteFilePath", deleteFilePath) && ok;
    ok = BindOne(m, "KVT_SetFolderPath", setFolderPath) && ok;
    ok = BindOne(m, "KVT_DeleteFolderPath", deleteFolderPath) && ok;
    ok = BindOne(m, "KVT_Debug", debug) && ok;
    return ok;
}

}  // namespace kvttest
