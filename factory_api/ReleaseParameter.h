// The release-parameter record of the factory API is the SDK's ReleaseParameter
// (include/kvt_records.h: 20 unsigned 32-bit words, little-endian). The library splits
// it into the parts it moves to the camera separately:
//
//   words 0-7   core part: the mode word (0x80000000) and seven shooting values
//   words 8-10  the packed word's bytes (only their low bytes reach the camera)
//   word  11    FlavorMode (0x80000028), 129 to 135
//   words 12-19 the 32 bytes of the flavor data property that FlavorMode selects
#pragma once

#include "include/kvt_records.h"

namespace kvtq517 {

constexpr unsigned kCoreWordCount = 8;    // words 0-7
constexpr unsigned kExtraWordCount = 12;  // words 8-19
constexpr unsigned kExtraFirstWord = 8;

}  // namespace kvtq517
