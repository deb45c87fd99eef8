// Finding an adjustment property by name through the plug-in's event procedure
// "SearchPropertyData", which fills in the identifier and size of the record.
#pragma once

#include <cstdint>

namespace kvtq517 {

// The record of one adjustment property, as the plug-in lays it out.
struct PROPERTY_DATA_T {
    char szName[64];      // zero-terminated, zero-filled
    std::uint32_t ID;
    std::uint32_t Size;
};
static_assert(sizeof(PROPERTY_DATA_T) == 72, "PROPERTY_DATA_T is 72 bytes");

// Copies the name (at most 63 characters, checked by the caller) into a fresh record,
// logs it, runs "SearchPropertyData" through KVT_ExecuteEventProc, logs the identifier
// and size, and returns the procedure's result; `record` holds what it filled in.
unsigned long SearchPropertyData(const char* name, PROPERTY_DATA_T& record);

}  // namespace kvtq517
