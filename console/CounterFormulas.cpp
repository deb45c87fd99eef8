#include "console/CounterFormulas.h"

namespace tavol {

std::int32_t TwoCounterCount(const std::uint8_t (&record)[kTwoCounterRecordSize]) {
    return static_cast<std::int32_t>(record[0]) * 65535 +
           static_cast<std::int32_t>(record[1]) * 255 + static_cast<std::int32_t>(record[3]);
}

std::int32_t OneCounterCount(const std::uint8_t (&record)[kOneCounterRecordSize]) {
    return static_cast<std::int32_t>(record[0]) * 65536 +
           static_cast<std::int32_t>(record[1]) * 256 + static_cast<std::int32_t>(record[2]);
}

}  // namespace tavol
