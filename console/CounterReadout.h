// The counter readouts through the factory API library: open the device and a
// monitor session, select the counter bank, read the record(s), close again.
#pragma once

#include <cstdint>

#include "console/FactoryLibrary.h"

namespace tavol {

struct TwoCounts {
    std::int32_t shutter;
    std::int32_t mirror;
};

// Both counts are -1 if the opening failed ("读取错误！" is reported once; the
// session and the device are then left as they are).
TwoCounts ReadTwoCounters(const FactoryApi& api, std::uint32_t shutterAddress,
                          std::uint32_t mirrorAddress);

// -1 if the opening failed, as above.
std::int32_t ReadOneCounter(const FactoryApi& api, std::uint32_t address);

}  // namespace tavol
