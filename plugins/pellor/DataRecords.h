// The parameter records of the data procedures are the SDK's (include/kvt_records.h);
// the plug-in's code names them in its own namespace.
#pragma once

#include <cstdint>

#include "include/kvt_records.h"

namespace pellor {

// One adjustment property: name (zero-terminated, zero-filled), identifier, size.
// The parameter of SearchPropertyData and the row of the property catalogue.
using PROPERTY_DATA_T = ::PROPERTY_DATA_T;

// The body number in its decimal digit groups (GetBodyID, SetBodyID).
using BODYID_T = ::BODYID_T;

// The A-board EEPROM has 128 words; Data is indexed by the EEPROM word address, so a
// request for Address 10 and Count 3 uses Data[10], Data[11] and Data[12].
constexpr std::uint32_t kABoardEepromWords = KVT_ABOARD_EEPROM_WORDS;
using ABOARD_EEPROM_DATA_T = ::ABOARD_EEPROM_DATA_T;

// The digital adjustment offsets, widened from two signed 16-bit values.
using DIGITAL_PARA_ADJ_T = ::DIGITAL_PARA_ADJ_T;

// Year, month, day, hour, minute, second of the camera calendar (GetDateTime,
// SetDateTime).
using DATETIME_T = ::DATETIME_T;

}  // namespace pellor
