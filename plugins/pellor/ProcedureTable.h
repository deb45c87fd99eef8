// The plug-in's registration table: every registered name in its order, with its
// parameter size, direction and procedure (ProcedureTable.cpp).
#pragma once

#include <cstddef>

#include "factory_api/plugin/PlugInContract.h"

namespace pellor {

constexpr std::size_t kRegisteredNameCount = 131;

// Calls the host's RegisterEventProc once per row, in table order, and builds the
// adjustment property index right after the row of LoadPropertyData. Throws
// "[VALU] RegisterEventProc" (3) for a null host function; a failing index build
// does not stop the registration and is raised at the end ("[FUNC] RegisterPropertyData").
void RegisterProcedures(RegisterEventProc_t registerEventProc);

// The procedure registered under `name`, or null.
EventProc_t FindRegisteredProcedure(const char* name) noexcept;

}  // namespace pellor
