// The value of one hexadecimal digit, for the parsers of hex text (scenarios,
// recordings, command-line bytes).
#pragma once

namespace kvt {

// 0 to 15, or -1 when `c` is no hexadecimal digit (either case).
constexpr int HexDigit(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

}  // namespace kvt
