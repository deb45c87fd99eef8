// The parameter records of the data procedures, as callers lay them out.
#pragma once

#include <cstdint>

namespace pellor {

// One adjustment property: name (zero-terminated, zero-filled), identifier, size.
// The parameter of SearchPropertyData and the row of the property catalogue.
struct PROPERTY_DATA_T {
    char szName[64];
    std::uint32_t ID;
    std::uint32_t Size;
};
static_assert(sizeof(PROPERTY_DATA_T) == 72, "PROPERTY_DATA_T is 72 bytes");

// The body number in its decimal digit groups: 2, 2, 1, 1 and 6 digits.
// body number = ManufactureMonth * 10^10 + Second * 10^8 + Third * 10^7
//             + Fourth * 10^6 + SerialNo
struct BODYID_T {
    std::uint32_t ManufactureMonth;
    std::uint32_t Second;
    std::uint32_t Third;
    std::uint32_t Fourth;
    std::uint32_t SerialNo;
};
static_assert(sizeof(BODYID_T) == 20, "BODYID_T is 20 bytes");

// The A-board EEPROM has 128 words; Data is indexed by the EEPROM word address, so a
// request for Address 10 and Count 3 uses Data[10], Data[11] and Data[12].
constexpr std::uint32_t kABoardEepromWords = 128;
struct ABOARD_EEPROM_DATA_T {
    std::uint32_t Data[kABoardEepromWords];
    std::uint32_t Address;
    std::uint32_t Count;
};
static_assert(sizeof(ABOARD_EEPROM_DATA_T) == 520, "ABOARD_EEPROM_DATA_T is 520 bytes");

// The digital adjustment offsets, widened from two signed 16-bit values.
struct DIGITAL_PARA_ADJ_T {
    std::int32_t DeltaX;
    std::int32_t DeltaY;
};
static_assert(sizeof(DIGITAL_PARA_ADJ_T) == 8, "DIGITAL_PARA_ADJ_T is 8 bytes");

}  // namespace pellor
