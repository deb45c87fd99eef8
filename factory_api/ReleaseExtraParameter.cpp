#include "factory_api/ReleaseExtraParameter.h"

#include "common/Exception.h"

namespace {

constexpr unsigned kPackedWordProperty[] = {0x8000002F, 0x80000030, 0x80000031};
constexpr unsigned kFlavorModeProperty = 0x80000028;

constexpr std::uint32_t kExtraStart[kvtq517::kExtraWordCount] = {
    0, 4, 4,                                  // packed word bytes
    129,                                      // FlavorMode
    3, 0, 0, 0, 0xDEADBEEF, 0xDEADBEEF, 0, 0, // flavor data
};

}  // namespace

unsigned FlavorDataProperty(std::uint32_t FlavorMode) {
    switch (FlavorMode) {
    case 129: return 0x02060001;
    case 130: return 0x02060002;
    case 131: return 0x02060003;
    case 132: return 0x02060004;
    case 133: return 0x02060005;
    case 134: return 0x02060006;
    case 135: return 0x0206001E;
    default: kvt::Fail("[VALU] FlavorMode", 3);
    }
}

CReleaseExtraParameter::CReleaseExtraParameter() : CPublicProperty() {
    for (unsigned i = 0; i < kValueCount; ++i) {
        _Value[i] = kExtraStart[i];
    }
    for (bool& flag : _Flag) {
        flag = false;
    }
}

CReleaseExtraParameter::~CReleaseExtraParameter() = default;

std::uint32_t CReleaseExtraParameter::_PackedWord() const {
    const std::uint32_t b0 = _Value[0] & 0xFFu;
    return b0 | (b0 << 8) | ((_Value[1] & 0xFFu) << 16) | ((_Value[2] & 0xFFu) << 24);
}

void CReleaseExtraParameter::Send(const ReleaseParameter& record, Flavor flavor) {
    for (unsigned i = 0; i < kValueCount; ++i) {
        _Value[i] = record.Word[kvtq517::kExtraFirstWord + i];
    }
    for (unsigned i = 0; i < 8; ++i) {
        _Flag[i] = true;
    }
    if (flavor == Flavor::Without) {
        _Flag[3] = false;
    }

    // Each of the three packed-word flags sends the word to all three properties.
    std::uint32_t packed = _PackedWord();
    for (unsigned flag = 0; flag < 3; ++flag) {
        if (_Flag[flag]) {
            for (unsigned id : kPackedWordProperty) {
                Set(id, 4u, &packed);
            }
            _Flag[flag] = false;
        }
    }
    if (_Flag[3]) {
        Set(kFlavorModeProperty, 4u, static_cast<unsigned>(_Value[kFlavorMode]));
        const unsigned data = FlavorDataProperty(_Value[kFlavorMode]);
        Set(data, kFlavorDataBytes, &_Value[kFlavorData]);
        _Flag[3] = false;
    }
}

void CReleaseExtraParameter::Receive(ReleaseParameter& record, Flavor flavor) {
    std::uint32_t packed = 0;
    Get(kPackedWordProperty[0], 4u, &packed);
    _Value[0] = (packed >> 8) & 0xFFu;
    _Value[1] = (packed >> 16) & 0xFFu;
    _Value[2] = (packed >> 24) & 0xFFu;
    std::uint32_t mode = 0;
    Get(kFlavorModeProperty, 4u, &mode);
    _Value[kFlavorMode] = mode;
    if (flavor == Flavor::With) {
        const unsigned data = FlavorDataProperty(mode);
        std::uint32_t flavorData[kFlavorDataBytes / 4] = {};
        Get(data, kFlavorDataBytes, flavorData);
        for (unsigned i = 0; i < kFlavorDataBytes / 4; ++i) {
            _Value[kFlavorData + i] = flavorData[i];
        }
    }
    for (unsigned i = 0; i < kValueCount; ++i) {
        record.Word[kvtq517::kExtraFirstWord + i] = _Value[i];
    }
}
