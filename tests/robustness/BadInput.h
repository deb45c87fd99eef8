// Bad arguments on every export and on every procedure of the plug-in through the
// host: null pointers, zero and oversized sizes, over-long names and paths, and
// caller buffers that end exactly at a no-access page (GuardedBuffer.h), so that any
// read or write past them crashes the driver instead of passing unnoticed.
//
// Each case prints "@@ case <group> <label>" before the call (so a crash names it)
// and "@@ got <group> <label> = <code>" after it.
#pragma once

#include <string>
#include <vector>

#include "robustness/DriverContext.h"

namespace robust {

// Groups: "exports", "procedures" (the names and shapes of the procedure list file
// given as the second argument); none given runs both.
int RunBadInput(DriverContext& ctx, const std::vector<std::string>& args);

}  // namespace robust
