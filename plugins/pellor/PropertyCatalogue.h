// The catalogue of the camera's adjustment properties: 239 records in a fixed order,
// then the end mark PROP_END_ID (identifier 0xDEAD, size 0), which is never indexed,
// counted or written.
#pragma once

#include <cstdint>

#include "plugins/pellor/DataRecords.h"

namespace pellor {

constexpr std::uint32_t kPropEndID = 0x0000DEAD;
constexpr unsigned kPropertyCount = 239;                     // records before the end mark
constexpr unsigned kPropertyTableRows = kPropertyCount + 1;  // with the end mark

extern const PROPERTY_DATA_T kPropTable[kPropertyTableRows];

}  // namespace pellor
