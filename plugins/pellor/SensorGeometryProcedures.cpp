// GetSensorPixelPitch and GetSensorOpticalLength (double out): the raw signed value of
// property 0x01000003 (PROP_SENSOR_PIXEL_PITCH) or 0x01000004
// (PROP_SENSOR_OPTICAL_PATH_LENGTH) in thousandths. The pixel pitch keeps the fraction
// (1999 -> 1.999); the optical length is divided in integers first (1999 -> 1.0,
// -1999 -> -1.0).
//
// The adjustment catalogue lists both properties with 2 bytes, so a camera may answer
// the 4-byte read with 2: that value is taken as a signed 16-bit number. Any other
// count fails ("[VALU] ReturnDataSize", 35).
#include <cstdint>
#include <cstring>

#include "common/Exception.h"
#include "core/camera/Property.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/SettingsProcedures.h"

namespace pellor {
namespace {

std::int32_t ReadSignedThousandths(std::uint32_t id) {
    std::uint8_t raw[4] = {};
    unsigned count = sizeof(raw);
    CPublicProperty property;
    property.Get(id, count, raw);
    if (count == 4) {
        std::int32_t value = 0;
        std::memcpy(&value, raw, sizeof(value));
        return value;
    }
    if (count == 2) {
        std::int16_t value = 0;
        std::memcpy(&value, raw, sizeof(value));
        return value;
    }
    kvt::Fail("[VALU] ReturnDataSize", 35);
}

void StoreDouble(void* out, double value) {
    std::memcpy(out, &value, sizeof(value));
}

}  // namespace

unsigned long __cdecl GetSensorPixelPitch(void* p) {
    return RunProcedure(PluginLog(), "GetSensorPixelPitch", [&] {
        void* out = RequireParameter<void>(p, "&pdblPixelPitch");
        StoreDouble(out, ReadSignedThousandths(0x01000003) / 1000.0);
    });
}

unsigned long __cdecl GetSensorOpticalLength(void* p) {
    return RunProcedure(PluginLog(), "GetSensorOpticalLength", [&] {
        void* out = RequireParameter<void>(p, "&pdblOpticalLength");
        StoreDouble(out, static_cast<double>(ReadSignedThousandths(0x01000004) / 1000));
    });
}

}  // namespace pellor
