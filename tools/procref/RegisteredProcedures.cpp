#include "tools/procref/RegisteredProcedures.h"

#include "common/Handles.h"
#include "common/Win32.h"
#include "factory_api/plugin/PlugInContract.h"

namespace procref {
namespace {

// The host function has no context argument: the collection runs one at a time.
std::vector<RegisteredProcedure>* g_collected = nullptr;

EventProcRecord* __cdecl Collect(const char* name, EventProc_t procedure,
                                 const unsigned long* parameterSize,
                                 const unsigned long* direction, const unsigned long* reserved) {
    if (g_collected != nullptr) {
        RegisteredProcedure row;
        row.name = name != nullptr ? name : "";
        row.procedure = reinterpret_cast<std::uintptr_t>(procedure);
        row.size = parameterSize != nullptr ? *parameterSize : 0;
        row.direction = direction != nullptr ? *direction : kDirectionNone;
        g_collected->push_back(row);
    }
    return nullptr;
}

}  // namespace

bool CollectRegistrations(const std::string& plugInPath, std::vector<RegisteredProcedure>& out,
                          std::string& error) {
    kvt::UniqueModule module(::LoadLibraryA(plugInPath.c_str()));
    if (!module) {
        const DWORD code = ::GetLastError();
        error = "cannot load " + plugInPath + " (error " + std::to_string(code) + ")";
        return false;
    }
    // GetProcAddress gives an untyped entry; it gets its type through void(*)().
    auto registerList = reinterpret_cast<RegisterEventProcList_t>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(module.Get(), kRegisterEventProcListExport)));
    if (registerList == nullptr) {
        error = plugInPath + " does not export " + kRegisterEventProcListExport;
        return false;
    }
    out.clear();
    g_collected = &out;
    const unsigned long result = registerList(&Collect);
    g_collected = nullptr;
    if (out.empty()) {
        error = plugInPath + " registered no procedure (result " + std::to_string(result) + ")";
        return false;
    }
    return true;
}

}  // namespace procref
