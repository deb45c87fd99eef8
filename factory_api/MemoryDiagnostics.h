// The memory diagnostics that KVT_OpenDevice and KVT_CloseDevice write to the log:
// the process's memory counters and the machine's physical memory.
#pragma once

#include <cstdint>

#include "common/LogStream.h"

namespace kvtq517 {

// The headings of the two diagnostics. Each follows "[----]" like an entry line, but
// value lines follow it instead of an exit line.
inline constexpr char kProcessMemoryInfoHeading[] = "[KVTI] ProcessMemoryInfo";
inline constexpr char kGlobalMemoryStatusHeading[] = "[KVTI] GlobalMemoryStatusInfo";

// ProcessMemoryInfo, then GlobalMemoryStatusInfo. Never fails.
void WriteMemoryDiagnostics(kvtlog::LogStream& log);

// The lines of GlobalMemoryStatusInfo for given byte counts: "[----]",
// "[KVTI] GlobalMemoryStatusInfo", then used, free and total memory, each divided by
// 1,024,000 (not 1,048,576) and followed by "[MB]"; commits.
void WriteGlobalMemoryStatus(kvtlog::LogStream& log, std::uint64_t totalPhysical,
                             std::uint64_t availablePhysical);

}  // namespace kvtq517
