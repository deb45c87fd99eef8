// The board information file "BoardInf.ini" in the property folder: section
// "DLResonantFrequency", integer keys "Address" (first EEPROM word address) and "Size"
// (size in bytes) of the EEPROM range that holds the DL resonant frequency.
#pragma once

namespace pellor {

struct BoardInfRange {
    int Address;
    int Size;
};

// Reads both keys. A missing key (or one holding -1) logs the five lines of the lookup
// and fails with "[WAPI] GetPrivateProfileInt" (1).
BoardInfRange ReadBoardInfRange();

}  // namespace pellor
