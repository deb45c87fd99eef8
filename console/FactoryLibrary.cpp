#include "console/FactoryLibrary.h"

namespace tavol {
namespace {

// GetProcAddress gives a generic function pointer; the export's real type is the
// one the caller names (its convention is part of the type, never cast away).
template <class Fn>
bool Bind(HMODULE module, const char* name, Fn* into) {
    FARPROC proc = ::GetProcAddress(module, name);
    *into = reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
    return proc != nullptr;
}

}  // namespace

bool CFactoryLibrary::Load() {
    Unload();
    _module.Reset(::LoadLibraryA("oxrmsg.dll"));
    if (!_module) {
        return false;
    }
    HMODULE m = _module.Get();
    bool ok = Bind(m, "KVT_OpenDevice", &_api.openDevice);
    ok = Bind(m, "KVT_MonitorOpenSession", &_api.monitorOpenSession) && ok;
    ok = Bind(m, "KVT_MonitorCloseSession", &_api.monitorCloseSession) && ok;
    ok = Bind(m, "KVT_CloseDevice", &_api.closeDevice) && ok;
    ok = Bind(m, "KVT_MonitorChangeBank", &_api.monitorChangeBank) && ok;
    ok = Bind(m, "KVT_MonitorReadMemory", &_api.monitorReadMemory) && ok;
    return ok;
}

void CFactoryLibrary::Unload() {
    _api = FactoryApi{};
    _module.Reset();
}

}  // namespace tavol
