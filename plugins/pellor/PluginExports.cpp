// The plug-in's three exports (names fixed by Pellor.def).
//
// RegisterEventProcList: registers every procedure of the table with the host.
// GetEventProcList: copies the plug-in's own event-procedure table into the caller's.
//   Registration goes only through the host, so the own table stays empty and nothing
//   is copied; the host never calls it.
// _RegisterInitializeFuncList@4: exported under that decorated name only, so the
//   host's lookup of "RegisterInitializeFuncList" finds nothing and the plug-in has no
//   initialize functions. It registers nothing.
#include <algorithm>
#include <iterator>
#include <type_traits>

#include "common/Exception.h"
#include "common/LogFile.h"
#include "factory_api/plugin/PlugInContract.h"
#include "plugins/pellor/EventProcCopy.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/ProcedureTable.h"

namespace {

// Nothing adds records to it.
const EventProcTable s_ownTable = {};

}  // namespace

extern "C" {

unsigned long __stdcall RegisterEventProcList(RegisterEventProc_t registerEventProc) {
    return pellor::RunProcedure(pellor::PluginLog(), "RegisterEventProcList",
                                [&] { pellor::RegisterProcedures(registerEventProc); });
}

unsigned long __stdcall GetEventProcList(EventProcTable* table) {
    return pellor::RunProcedure(pellor::PluginLog(), "GetEventProcList", [&] {
        // The plug-in's own table is empty: a null table has nothing to receive, and is
        // refused only if there were records to copy into it.
        const bool empty = std::all_of(std::begin(s_ownTable.Bucket), std::end(s_ownTable.Bucket),
                                       [](const EventProcRecord* r) { return r == nullptr; });
        EventProcTable nothing = {};
        EventProcTable* to = empty && table == nullptr
                                 ? &nothing
                                 : pellor::RequireParameter<EventProcTable>(table, "pEventProcTable");
        pellor::RequireRoutineSuccess(pellor::CopyEventProcTable(s_ownTable, *to), "GetHash");
    });
}

// Exported as "_RegisterInitializeFuncList@4" (Pellor.def).
unsigned long __stdcall PellorRegisterInitializeFuncList(void* /*ignored*/) {
    kvtlog::CommitLog(pellor::PluginLog());
    return 0;
}

}  // extern "C"

// The exports have the contract's types (conventions included).
static_assert(std::is_same_v<decltype(&RegisterEventProcList), RegisterEventProcList_t>,
              "RegisterEventProcList has the contract's type");
static_assert(std::is_same_v<decltype(&GetEventProcList), GetEventProcList_t>,
              "GetEventProcList has the contract's type");
