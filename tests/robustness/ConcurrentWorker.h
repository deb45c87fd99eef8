// One of several processes that use the library at the same time in one folder: each
// logs lines carrying its tag, publishes tagged paths in the file and folder blocks,
// runs event procedures (which write the procedure-name block) and checks that every
// block it reads holds one whole value, never a torn one.
#pragma once

#include <string>

#include "robustness/DriverContext.h"

namespace robust {

// Prints "@@ worker <tag> rounds=<n> torn=<t> failures=<f>" and returns 0.
int RunWorker(DriverContext& ctx, const std::string& tag, unsigned long rounds);

// Another process's Corvane at another address stored its handle in the module-handle
// block last: the block's word is no module here. Prints "@@ foreign open=<code>
// debug=<code>" for KVT_OpenDevice and KVT_Debug, which resolve paths through it.
int RunForeignCommonModule(DriverContext& ctx);

// Takes the named mutexes (separated by ","), prints "@@ holding <names>" and sleeps
// until killed.
int HoldMutex(const std::string& name);

}  // namespace robust
