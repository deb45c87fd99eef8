#include "simulator/camera/Images.h"

#include <algorithm>
#include <cstring>

namespace kvtsim {
namespace {
const std::uint8_t kJpegHead[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F',
                                  0x00, 0x01, 0x01, 0x00, 0x00, 0x48, 0x00, 0x48, 0x00, 0x00};
const std::uint8_t kRawHead[] = {'I', 'I', 0x2A, 0x00, 0x10, 0x00, 0x00, 0x00,
                                 'T', 'R', 0x02, 0x00, 0x00, 0x00, 0x00, 0x00};

// Four bytes per step of a linear congruential generator (its high bits first).
void FillPattern(std::uint8_t* p, std::size_t n, std::uint32_t seed) {
    std::uint32_t x = seed * 2654435761u + 0x9E3779B9u;
    for (std::size_t i = 0; i < n; i += 4) {
        x = x * 1664525u + 1013904223u;
        for (std::size_t k = 0; k < 4 && i + k < n; ++k) {
            p[i + k] = static_cast<std::uint8_t>(x >> (24 - 8 * k));
        }
    }
}
}  // namespace

SharedBytes MakeImage(const ImageSource& source, ImageFormat format, unsigned camera,
                      std::uint32_t shot) {
    if (source.fixed) {
        return source.fixed;
    }
    auto image = std::make_shared<Bytes>(static_cast<std::size_t>(source.size));
    std::uint8_t* p = image->data();
    std::size_t n = image->size();
    std::uint32_t seed = (camera << 24) ^ (static_cast<std::uint32_t>(format) << 20) ^ shot;
    FillPattern(p, n, seed);
    const std::uint8_t* head = format == ImageFormat::Jpeg ? kJpegHead : kRawHead;
    std::size_t headSize = format == ImageFormat::Jpeg ? sizeof(kJpegHead) : sizeof(kRawHead);
    if (n >= headSize + 2) {
        std::memcpy(p, head, headSize);
        if (format == ImageFormat::Jpeg) {
            p[n - 2] = 0xFF;
            p[n - 1] = 0xD9;
        }
    }
    return image;
}

}  // namespace kvtsim
