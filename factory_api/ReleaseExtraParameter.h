// CReleaseExtraParameter: words 8 to 19 of a ReleaseParameter.
//
//   values 0-2  the packed word: byte 0 and byte 1 the low byte of value 0, byte 2 that
//               of value 1 (the image quality code), byte 3 that of value 2; written to
//               0x8000002F, 0x80000030 and 0x80000031, read back from 0x8000002F
//   value  3    FlavorMode, 0x80000028
//   values 4-11 the 32 bytes of the flavor data property FlavorMode selects
//
// The second camera of a two-camera setup takes no flavor: WithoutFlavor leaves
// FlavorMode and the flavor data alone on a set, and skips the flavor data on a get
// (words 12 to 19 then keep the starting values).
//
// Lives for one export call; every object starts from the camera's default values.
#pragma once

#include <cstdint>

#include "core/camera/Property.h"
#include "factory_api/ReleaseParameter.h"

// The flavor data property of a FlavorMode; fails with "[VALU] FlavorMode" (3) outside
// 129 to 135.
unsigned FlavorDataProperty(std::uint32_t FlavorMode);

class CReleaseExtraParameter : public CPublicProperty {
public:
    enum class Flavor { With, Without };

    CReleaseExtraParameter();
    virtual ~CReleaseExtraParameter();

    CReleaseExtraParameter(const CReleaseExtraParameter&) = delete;
    CReleaseExtraParameter& operator=(const CReleaseExtraParameter&) = delete;

    // Extra set from words 8 to 19. A FlavorMode outside 129 to 135 fails after the
    // packed word and FlavorMode itself were written.
    void Send(const ReleaseParameter& record, Flavor flavor);
    // Extra get into words 8 to 19 (written only when every read succeeded).
    void Receive(ReleaseParameter& record, Flavor flavor);

private:
    static constexpr unsigned kValueCount = kvtq517::kExtraWordCount;
    static constexpr unsigned kFlavorMode = 3;
    static constexpr unsigned kFlavorData = 4;   // values 4 to 11
    static constexpr unsigned kFlavorDataBytes = 32;

    std::uint32_t _PackedWord() const;

    std::uint32_t _Value[kValueCount];
    bool _Flag[9];
};
