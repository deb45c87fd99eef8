// The release-parameter record of the factory API: 20 unsigned 32-bit words,
// little-endian, moved between the caller and the camera's release properties.
//
//   words 0-7   core part: the mode word (0x80000000) and seven shooting values
//   words 8-10  the packed word's bytes (only their low bytes reach the camera)
//   word  11    FlavorMode (0x80000028), 129 to 135
//   words 12-19 the 32 bytes of the flavor data property that FlavorMode selects
#pragma once

#include <cstdint>

struct ReleaseParameter {
    std::uint32_t Word[20];
};
static_assert(sizeof(ReleaseParameter) == 80, "ReleaseParameter is 80 bytes");

namespace kvtq517 {

constexpr unsigned kCoreWordCount = 8;    // words 0-7
constexpr unsigned kExtraWordCount = 12;  // words 8-19
constexpr unsigned kExtraFirstWord = 8;

}  // namespace kvtq517
