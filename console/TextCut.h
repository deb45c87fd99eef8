// Cutting GBK text to a byte limit without leaving half of a double-byte character.
#pragma once

#include <cstddef>

namespace tavol {

// True for a byte that starts a double-byte GBK character (0x81 to 0xFE).
bool IsGbkLeadByte(char c);

// The length, at most `length`, of the longest prefix of the first `length` bytes of
// `text` that ends on a character boundary. The bytes are known only up to `length`:
// a lead byte in the last position is taken as the first half of a character that
// was cut off. Stops at a zero byte.
std::size_t WholeCharacterLength(const char* text, std::size_t length);

}  // namespace tavol
