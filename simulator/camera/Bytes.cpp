#include "simulator/camera/Bytes.h"

#include "simulator/recording/RecordingFormat.h"

namespace kvtsim {

std::string HexOf(const std::uint8_t* data, std::size_t size) {
    return kvtrec::Hex(data, size);
}

std::string Hex8(std::uint32_t value) {
    return kvtrec::Hex8(value);
}

void PutLe32(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

std::uint32_t GetLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace kvtsim
