// The classic hex dump: 16 bytes a line, the address, the bytes in two groups of
// eight and the printable characters.
#pragma once

#include <cstdint>
#include <string>

namespace kvtcli {

std::string HexDump(const std::string& bytes, std::uint32_t firstAddress);

}  // namespace kvtcli
