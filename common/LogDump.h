// The data dump of the log: lines of 16 bytes under a head such as "[MNTR]".
#pragma once

#include <cstddef>

#include "common/LogStream.h"

namespace kvtlog {

// Writes `size` bytes as "<tag>  Data[ 0010 ]  00 01 ... 07  08 ... 0f " lines,
// committing after every byte, and ends with a line end in decimal mode.
void DumpData(LogStream& log, const char* tag, const unsigned char* data, std::size_t size);

}  // namespace kvtlog
