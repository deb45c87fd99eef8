// The time-stamp prefix of a log line, as _gt writes it: the low 32 bits of the
// elapsed milliseconds as an unsigned decimal number, right-aligned with spaces in a
// field of `width` characters (a wider value is written in full), then " | ".
// Kept apart from the clock so that the layout can be checked for any value.
#pragma once

#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>

namespace kvtlog {

inline std::string FormatTimeStamp(std::int64_t elapsedMs, unsigned long width) {
    std::ostringstream out;
    out << std::dec << std::right << std::setfill(' ') << std::setw(static_cast<int>(width))
        << static_cast<std::uint32_t>(static_cast<std::uint64_t>(elapsedMs) & 0xFFFFFFFFu)
        << " | ";
    return out.str();
}

}  // namespace kvtlog
