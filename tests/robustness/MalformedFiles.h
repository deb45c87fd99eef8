// Broken input files: the version list "_Q517_\Property\verck", the property INI file
// and "BoardInf.ini", each replaced by generated content (truncated, unterminated,
// garbage) in a bounded, seeded loop. Per case the library is loaded, the device
// opened (which reports the load's result) and, for BoardInf.ini, its procedures run;
// then the library is unloaded. Prints "@@ case <kind> <n> bytes=<size>" before and
// "@@ file <kind> <n> open=<code> [get=.. copy=.. set=..] err=<[ERR!] lines>" after each
// case; a watchdog ends the driver with "@@ hang <kind> <n>" when one case takes too long.
// Case 0 is the file unchanged.
#pragma once

#include <string>

#include "robustness/DriverContext.h"

namespace robust {

// kind: "verck", "ini" or "boardinf".
int RunMalformedFiles(DriverContext& ctx, const std::string& kind, unsigned long seed,
                      unsigned long count);

}  // namespace robust
