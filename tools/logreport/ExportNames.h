// Names of the factory API's exports as their frame lines write them, checked against
// the public header: a renamed export does not compile here.
#pragma once

#include <string_view>

#include "include/kvt_factory.h"

#define LOGREPORT_EXPORT_NAME(fn) (static_cast<void>(sizeof(&(fn))), #fn)

namespace logreport {

// The exports that run an event procedure by name.
inline bool IsExecuteExport(std::string_view name) {
    return name == LOGREPORT_EXPORT_NAME(KVT_ExecuteEventProc) ||
           name == LOGREPORT_EXPORT_NAME(KVT_ExecuteEventProcS);
}

// An exported function of the factory API: "KVT_" and "MVT_" names.
inline bool IsExportName(std::string_view name) {
    return name.compare(0, 4, "KVT_") == 0 || name.compare(0, 4, "MVT_") == 0;
}

}  // namespace logreport
