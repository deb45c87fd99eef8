// The camera's fixed flag: the 4-byte public property 0x00000000. MVT_ReleaseAndTransfer
// sets its bit 10 for the duration of a release.
//
// Each runs in its own frame and returns 0 or the failure code; a null pointer gives 3.
#pragma once

#include <cstdint>

namespace kvtq517 {

constexpr std::uint32_t kFixedFlagReleaseBit = 0x00000400;   // bit 10

// Reads the flag into *pFixedFlag and logs it.
unsigned long _GetFixedFlag(std::uint32_t* pFixedFlag) noexcept;
// Logs *pFixedFlag and writes it to the flag.
unsigned long _SetFixedFlag(std::uint32_t* pFixedFlag) noexcept;

}  // namespace kvtq517
