// Fitting a zero-terminated text into a fixed buffer without splitting a character.
#pragma once

#include <cstddef>

namespace comlib {

// The number of bytes of `text` to copy into a buffer of `capacity` bytes (capacity >=
// 1) that must also hold the terminating zero: the whole text when it fits, else the
// longest prefix of at most capacity - 1 bytes that ends on a character boundary of
// `codePage` (double-byte code pages and UTF-8 are honoured). Reads at most
// `capacity` bytes of `text`.
std::size_t FitTextLength(const char* text, std::size_t capacity, unsigned codePage) noexcept;

}  // namespace comlib
