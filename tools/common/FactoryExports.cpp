#include "tools/common/FactoryExports.h"

namespace kvttools {
namespace {

// GetProcAddress gives an untyped entry; it gets the export's declared type (its
// convention included) through void(*)(), never a cast between function types.
template <class Fn>
void BindOne(HMODULE module, const char* name, Fn& fn, std::vector<std::string>& missing) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
    if (fn == nullptr) {
        missing.push_back(name);
    }
}

}  // namespace

std::vector<std::string> BindFactoryExports(HMODULE m, FactoryExports& e) {
    std::vector<std::string> missing;
    BindOne(m, "KVT_OpenDevice", e.openDevice, missing);
    BindOne(m, "KVT_CloseDevice", e.closeDevice, missing);
    BindOne(m, "KVT_MonitorOpenSession", e.monitorOpenSession, missing);
    BindOne(m, "KVT_MonitorCloseSession", e.monitorCloseSession, missing);
    BindOne(m, "KVT_MonitorChangeBank", e.monitorChangeBank, missing);
    BindOne(m, "KVT_MonitorReadMemory", e.monitorReadMemory, missing);
    BindOne(m, "KVT_MonitorWriteMemory", e.monitorWriteMemory, missing);
    BindOne(m, "KVT_MonitorCallFunction", e.monitorCallFunction, missing);
    BindOne(m, "KVT_ExecuteEventProc", e.executeEventProc, missing);
    BindOne(m, "KVT_ExecuteEventProcS", e.executeEventProcS, missing);
    BindOne(m, "KVT_SetReleaseParameter", e.setReleaseParameter, missing);
    BindOne(m, "KVT_GetReleaseParameter", e.getReleaseParameter, missing);
    BindOne(m, "KVT_SetReleaseParameterEx", e.setReleaseParameterEx, missing);
    BindOne(m, "KVT_GetReleaseParameterEx", e.getReleaseParameterEx, missing);
    BindOne(m, "KVT_SetReleaseParameterS", e.setReleaseParameterS, missing);
    BindOne(m, "KVT_GetReleaseParameterS", e.getReleaseParameterS, missing);
    BindOne(m, "KVT_ReleaseAndTransfer", e.releaseAndTransfer, missing);
    BindOne(m, "KVT_ReleaseAndTransferS", e.releaseAndTransferS, missing);
    BindOne(m, "MVT_ReleaseAndTransfer", e.mvtReleaseAndTransfer, missing);
    BindOne(m, "KVT_LoadProperty", e.loadProperty, missing);
    BindOne(m, "KVT_SaveProperty", e.saveProperty, missing);
    BindOne(m, "KVT_SetFilePath", e.setFilePath, missing);
    BindOne(m, "KVT_DeleteFilePath", e.deleteFilePath, missing);
    BindOne(m, "KVT_SetFolderPath", e.setFolderPath, missing);
    BindOne(m, "KVT_DeleteFolderPath", e.deleteFolderPath, missing);
    BindOne(m, "KVT_Debug", e.debug, missing);
    return missing;
}

}  // namespace kvttools
