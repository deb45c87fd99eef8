// How the counts are computed from the bytes read from camera memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavol {

constexpr std::size_t kTwoCounterRecordSize = 10;
constexpr std::size_t kOneCounterRecordSize = 3;

// Count of a 10-byte record of the two-counter models: b0 * 65535 + b1 * 255 + b3.
// The multipliers are 65535 and 255 (not 65536 and 256) and byte 3 is used, not
// byte 2; bytes 2 and 4 to 9 do not enter. This is how the camera's counter record
// is meant to be read on these models; do not "fix" it to a big-endian number.
std::int32_t TwoCounterCount(const std::uint8_t (&record)[kTwoCounterRecordSize]);

// Count of the 3-byte record of the one-counter models: a big-endian number.
std::int32_t OneCounterCount(const std::uint8_t (&record)[kOneCounterRecordSize]);

}  // namespace tavol
