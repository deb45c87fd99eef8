// Memory dumps of the data procedures: to a file, or to the log as hexadecimal lines.
#pragma once

#include <cstdint>

namespace pellor {

// Writes `*size` bytes from `data` to the file `name` (created or emptied, binary), in
// its own frame. Null data: "[VALU] pData" (3), no file. A file that cannot be opened:
// "[STDF] File Stream Open Error" (1); a failed write or close: "[STDF] File Stream Write
// Error" (1).
unsigned long DebugWriteDumpMemory(const char* name, const void* data, const std::uint32_t* size);

// Logs `*size` bytes as "[VALU] Data[ 00000010 ] -  00 01 ... 07  08 ... 0f " lines,
// 16 bytes a line, in its own frame. A size of 0 or less writes no data lines.
void DebugPrintDumpMemory(const void* data, const std::int32_t* size);

}  // namespace pellor
