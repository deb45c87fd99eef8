#include "simulator/recorder/TargetLibrary.h"

namespace kvtrecorder {
namespace {

template <class Member>
struct SlotType;
template <class Fn>
struct SlotType<Fn TargetFunctions::*> {
    using type = Fn;
};

// GetProcAddress gives an untyped entry; here each function gets its type from the
// interface's typedef (through void(*)(), the neutral function pointer type).
template <auto Slot>
void Assign(TargetFunctions& functions, FARPROC entry) {
    using Fn = typename SlotType<decltype(Slot)>::type;
    functions.*Slot = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(entry));
}

struct Binding {
    const char* name;
    void (*assign)(TargetFunctions&, FARPROC);
};

const Binding kBindings[] = {
    {"k2pInitialize", &Assign<&TargetFunctions::Initialize>},
    {"k2pTerminate", &Assign<&TargetFunctions::Terminate>},
    {"k2pGetDeviceInfoArray", &Assign<&TargetFunctions::GetDeviceInfoArray>},
    {"k2pConnectCamera", &Assign<&TargetFunctions::ConnectCamera>},
    {"k2pClearRemoteEventProcedureParameter",
     &Assign<&TargetFunctions::ClearRemoteEventProcedureParameter>},
    {"k2pPushRemoteEventProcedureSendParameter",
     &Assign<&TargetFunctions::PushRemoteEventProcedureSendParameter>},
    {"k2pExecuteRemoteEventProcedure", &Assign<&TargetFunctions::ExecuteRemoteEventProcedure>},
    {"k2pGetReturnDataSize", &Assign<&TargetFunctions::GetReturnDataSize>},
    {"k2pGetReturnDataForExecuteRemoteEventProcedure",
     &Assign<&TargetFunctions::GetReturnDataForExecuteRemoteEventProcedure>},
    {"k2pGetSizeOfMemoryData", &Assign<&TargetFunctions::GetSizeOfMemoryData>},
    {"k2pExecuteGetMemoryData", &Assign<&TargetFunctions::ExecuteGetMemoryData>},
};

}  // namespace

LoadResult TargetLibrary::Load(const std::string& path, HMODULE self, std::string* error) {
    Release();
    kvt::UniqueModule module(::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
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
