// The models the tool knows and which counters it reads for each.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavol {

// Product names sit in fixed, zero-padded slots of this many characters.
constexpr std::size_t kModelNameSlot = 30;

// All counters live in this bank of camera memory.
constexpr std::uint32_t kCounterBank = 0xEE;

enum class Readout {
    TwoCounters,  // shutter and mirror, 10-byte records
    OneCounter,   // shutter only, 3-byte record
    Unsupported,  // nothing is read
};

struct ModelChoice {
    Readout readout;
    std::uint32_t shutterAddress;  // 0 for Unsupported
    std::uint32_t mirrorAddress;   // 0 unless TwoCounters
};

// Looks the product name up (whole name, letter case ignored) in the groups A, B, S1,
// S2 and N in this order; a name found nowhere (or null) gets the default two-counter
// readout at 4097 and 4107.
ModelChoice ChooseModel(const char* productName);

// True for the product name a camera reports in factory mode (letter case ignored).
bool IsFactoryMode(const char* productName);

// Whole-name comparison that ignores the case of ASCII letters only (bytes of
// double-byte characters are compared as they are). Null equals nothing.
bool SameNameIgnoringCase(const char* a, const char* b);

}  // namespace tavol
