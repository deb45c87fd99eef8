// Images of a remote release: fixed bytes from the scenario, or generated ones of a
// given size. Generated images are deterministic: the same camera, format and shot
// number always give the same bytes.
#pragma once

#include <cstdint>

#include "simulator/camera/Bytes.h"

namespace kvtsim {

enum class ImageFormat : unsigned { Jpeg = 0, Raw = 1 };

struct ImageSource {
    SharedBytes fixed;        // used as it is when set
    std::uint64_t size = 0;   // size of a generated image otherwise
};

// A JPEG starts with a JFIF header and ends with the end-of-image marker; a raw image
// starts with a little-endian TIFF header. The rest is a pseudo-random pattern seeded
// by camera, format and shot. Sizes below the header are filled with the pattern only.
SharedBytes MakeImage(const ImageSource& source, ImageFormat format, unsigned camera,
                      std::uint32_t shot);

}  // namespace kvtsim
