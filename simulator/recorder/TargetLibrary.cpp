#include "simulator/recorder/TargetLibrary.h"

#include "core/transport/TypedEntry.h"

namespace kvtrecorder {
namespace {

using kvt::AssignEntry;

struct Binding {
    const char* name;
    void (*assign)(TargetFunctions&, FARPROC);
};

const Binding kBindings[] = {
    {"k2pInitialize", &AssignEntry<&TargetFunctions::Initialize>},
    {"k2pTerminate", &AssignEntry<&TargetFunctions::Terminate>},
    {"k2pGetDeviceInfoArray", &AssignEntry<&TargetFunctions::GetDeviceInfoArray>},
    {"k2pConnectCamera", &AssignEntry<&TargetFunctions::ConnectCamera>},
    {"k2pClearRemoteEventProcedureParameter",
     &AssignEntry<&TargetFunctions::ClearRemoteEventProcedureParameter>},
    {"k2pPushRemoteEventProcedureSendParameter",
     &AssignEntry<&TargetFunctions::PushRemoteEventProcedureSendParameter>},
    {"k2pExecuteRemoteEventProcedure", &AssignEntry<&TargetFunctions::ExecuteRemoteEventProcedure>},
    {"k2pGetReturnDataSize", &AssignEntry<&TargetFunctions::GetReturnDataSize>},
    {"k2pGetReturnDataForExecuteRemoteEventProcedure",
     &AssignEntry<&TargetFunctions::GetReturnDataForExecuteRemoteEventProcedure>},
    {"k2pGetSizeOfMemoryData", &AssignEntry<&TargetFunctions::GetSizeOfMemoryData>},
    {"k2pExecuteGetMemoryData", &AssignEntry<&TargetFunctions::ExecuteGetMemoryData>},
};

}  // namespace

LoadResult TargetLibrary::Load(const std::string& path, HMODULE self, std::string* error) {
    Release();
    kvt::UniqueModule module(
        ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module) {
        const DWORD code = ::GetLastError();
        *error = "cannot load the target library " + path + " (error " + std::to_string(code) + ")";
        return LoadResult::NotLoaded;
    }
    if (module.Get() == self) {
        *error = "the target library " + path + " is the recorder itself";
        return LoadResult::Self;
    }
    TargetFunctions bound;
    for (const Binding& b : kBindings) {
        FARPROC entry = ::GetProcAddress(module.Get(), b.name);
        if (entry == nullptr) {
            *error = "the target library " + path + " has no " + b.name;
            return LoadResult::Incomplete;
        }
        b.assign(bound, entry);
    }
    _module = std::move(module);
    _functions = bound;
    return LoadResult::Bound;
}

void TargetLibrary::Release() {
    _functions = TargetFunctions();
    _module.Reset();
}

}  // namespace kvtrecorder
