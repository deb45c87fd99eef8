// Values of a scenario. A number is decimal, or hexadecimal with "0x"; a negative
// decimal stands for its 32-bit two's complement (-1 = 0xFFFFFFFF).
//
// A byte value is a sequence of items separated by blanks:
//   0a 1b 2c, 0a1b2c     hexadecimal bytes (always hexadecimal, an even digit count)
//   u8:N u16:N u32:N u64:N   little-endian integers
//   be16:N be24:N be32:N     big-endian integers
//   "text"               the characters, without a terminating zero; escapes \0 \n
//                        \r \t \\ \" \xHH
//   zeros:N              N zero bytes
//   fill:N:HH            N bytes of the hexadecimal byte HH
//   pad:N                zero bytes up to a total of N
//   file:path            the bytes of a file (the rest of the value; a relative path
//                        is taken from the scenario file's folder)
#pragma once

#include <cstdint>
#include <string>

#include "simulator/camera/Bytes.h"

namespace kvtsim {

bool ParseNumber(const std::string& text, std::uint64_t* value);
bool ParseU32(const std::string& text, std::uint32_t* value);
bool ParseBytes(const std::string& value, const std::string& baseDir, Bytes* out,
                std::string* error);
// Reads a whole file; false when it cannot be read or exceeds `limit` bytes.
bool ReadWholeFile(const std::string& path, std::size_t limit, Bytes* out);

}  // namespace kvtsim
