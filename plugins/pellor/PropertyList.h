// Counting and copying the property catalogue, and the size rounding of its data files.
#pragma once

#include <cstdint>

#include "plugins/pellor/DataRecords.h"

namespace pellor {

// The number of records before PROP_END_ID (239), logged as "[VALU] nCount - ".
unsigned long GetPropertyDataCount(std::int32_t* count);
// Copies all 240 records, the end mark included, into `list`.
unsigned long GetPropertyDataList(PROPERTY_DATA_T* list);
// Rounds *size up to the next multiple of 4 (a multiple of 4 stays); null fails with
// "[VALU] pnSize" (3).
void RoundUpToMultipleOf4(std::uint32_t* size);

}  // namespace pellor
