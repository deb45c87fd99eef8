#include "simulator/camera/Bytes.h"

namespace kvtsim {

std::string HexOf(const std::uint8_t* data, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string s(size * 2, '0');
    for (std::size_t i = 0; i < size; ++i) {
        s[2 * i] = digits[data[i] >> 4];
        s[2 * i + 1] = digits[data[i] & 0x0F];
    }
    return s;
}

std::string Hex8(std::uint32_t value) {
    std::uint8_t be[4] = {static_cast<std::uint8_t>(value >> 24),
                          static_cast<std::uint8_t>(value >> 16),
                          static_cast<std::uint8_t>(value >> 8),
                          static_cast<std::uint8_t>(value)};
    return "0x" + HexOf(be, 4);
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
