// KVT_ExecuteEventProc and KVT_ExecuteEventProcS: call a plug-in's event procedure by
// its registered name. A name that is null or has 128 characters or more (it would not
// fit the name block) is refused with code 3 before the name block is touched.
#include <cstring>
#include <string>

#include "common/Exception.h"
#include "common/LogFrame.h"
#include "factory_api/ModuleState.h"
#include "factory_api/plugin/EventProcManager.h"
#include "include/kvt_factory.h"

using namespace kvtq517;

namespace {

// The name as far as it may be read: empty for null, at most 128 characters.
std::string BoundedName(const char* name) {
    if (name == nullptr) {
        return std::string();
    }
    return std::string(name, strnlen(name, kMaxEventProcNameLength + 1));
}

void RequireUsableName(const char* name) {
    if (name == nullptr) {
        kvt::Fail("[VALU] pEventProcName", 3);
    }
    if (strnlen(name, kMaxEventProcNameLength + 1) > kMaxEventProcNameLength) {
        kvt::Fail("[VALU] strlen(pEventProcName)", 3);
    }
}

}  // namespace

unsigned long __stdcall KVT_ExecuteEventProc(const char* pEventProcName, void* pParameter) {
    kvtlog::FrameLines lines{"[KVTI] KVT_ExecuteEventProc"};
    lines.exit = "[KVTI] KVT_ExecuteEventProc : " + BoundedName(pEventProcName);
    lines.failuresToStderr = true;
    return kvtlog::RunFrame(ApiLog(), lines, [&] {
        RequireDeviceOpened();
        RequireUsableName(pEventProcName);
        CEventProcManager manager(pEventProcName);
        const EventProcRecord& record = manager.FindProcedure();
        return record.Procedure(pParameter);
    });
}

unsigned long __stdcall KVT_ExecuteEventProcS(const char* pEventProcName, void* pParameter,
                                              unsigned long parameterSize) {
    return kvtlog::RunFrame(ApiLog(), {"[KVTI] KVT_ExecuteEventProcS"}, [&] {
        RequireDeviceOpened();
        RequireUsableName(pEventProcName);
        CEventProcManager manager(pEventProcName);
        const EventProcRecord& record = manager.FindProcedure();
        if (record.ParameterSize != 0 && record.ParameterSize != parameterSize) {
            kvt::Fail("[VALU] ParameterSize", 3);
        }
        return record.Procedure(pParameter);
    });
}
