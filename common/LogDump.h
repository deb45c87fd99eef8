// The data dump of the log: lines of 16 bytes under a head such as "[MNTR]".
#pragma once

#include <cstddef>
#include <iomanip>

#include "common/LogStream.h"

namespace kvtlog {

// Writes `size` bytes as "<tag>  Data[ 0010 ]  00 01 ... 07  08 ... 0f " lines,
// committing after every byte, and ends with a line end in decimal mode, committed.
void DumpData(LogStream& log, const char* tag, const unsigned char* data, std::size_t size);

// The dump's text alone: the lines as DumpData writes them, with `afterByte()` called
// after every byte (DumpData commits there), ending with the line end in decimal mode.
template <class AfterByte>
void FormatDump(LogStream& log, const char* tag, const unsigned char* data, std::size_t size,
                AfterByte&& afterByte) {
    for (std::size_t i = 0; i < size; ++i) {
        if (i % 16 == 0) {
            if (i > 0) {
                log << '\n';
            }
            Stamp(log) << tag << "  Data[ " << std::hex << std::setw(4) << std::setfill('0')
                       << i << " ] ";
        }
        if (i % 8 == 0) {
            log << ' ';
        }
        log << std::hex << std::setw(2) << std::setfill('0') << static_cast<unsigned>(data[i])
            << ' ';
        afterByte();
    }
    log << std::dec << '\n';
}

}  // namespace kvtlog
