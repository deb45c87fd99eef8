// Values typed on the command line: numbers and hex bytes. A value that does not
// parse is a UsageError that names what it was for.
#pragma once

#include <cstdint>
#include <string>

namespace kvtcli {

// A number: decimal, or hexadecimal with 0x; a leading '-' for negative ones. Must lie
// within [min, max].
std::int64_t ParseNumber(const std::string& text, std::int64_t min, std::int64_t max,
                         const std::string& what);

// A decimal or hexadecimal number of at most 32 bits.
std::uint32_t ParseU32(const std::string& text, const std::string& what);

// A real number (a decimal fraction or exponent allowed).
double ParseReal(const std::string& text, const std::string& what);

// Hex bytes: "0a1b", "0a 1b", "0a:1b", with or without a leading 0x.
std::string ParseHexBytes(const std::string& text, const std::string& what);

// The shortest decimal text that reads back as the same double.
std::string RealText(double value);

// The bytes as lower-case hex, with blanks between them or without.
std::string HexText(const std::string& bytes, bool spaced);

}  // namespace kvtcli
