// Byte buffers of the camera model. Data handed out as return data or memory-data
// snapshots is shared, not copied: the one copy is the one into the caller's buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kvtsim {

using Bytes = std::vector<std::uint8_t>;
using SharedBytes = std::shared_ptr<const Bytes>;

inline SharedBytes Share(Bytes bytes) {
    return std::make_shared<const Bytes>(std::move(bytes));
}

// Lower-case hexadecimal digits, two per byte, no separators.
std::string HexOf(const std::uint8_t* data, std::size_t size);
inline std::string HexOf(const Bytes& b) { return HexOf(b.data(), b.size()); }

// "0x" and eight lower-case hexadecimal digits.
std::string Hex8(std::uint32_t value);

void PutLe32(Bytes& out, std::uint32_t value);
std::uint32_t GetLe32(const std::uint8_t* p);

}  // namespace kvtsim
