// CheckBatteryStatus: byte 22 of the 96-byte property 0x8003001D is the battery type;
// types 0 and 2 are accepted. A short read fails rather than judging a byte the camera
// did not send.
#include <cstdint>
#include <ios>

#include "common/Exception.h"
#include "core/camera/Property.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/PropertyAccess.h"
#include "plugins/pellor/SettingsProcedures.h"

namespace pellor {
namespace {

constexpr std::uint32_t kPowerStatus = 0x8003001D;
constexpr std::uint32_t kPowerStatusSize = 96;
constexpr std::uint32_t kBatteryTypeByte = 22;

}  // namespace

unsigned long __cdecl CheckBatteryStatus(void*) {
    return RunProcedure(PluginLog(), "CheckBatteryStatus", [&] {
        std::uint8_t status[kPowerStatusSize] = {};
        CPublicProperty property;
        ReadExactly(property, kPowerStatus, kPowerStatusSize, status);
        const unsigned batteryType = status[kBatteryTypeByte];
        kvtlog::Stamp(PluginLog()) << "[VALU] BatteryStatus - " << std::hex << batteryType
                                   << std::dec << '\n';
        if (batteryType != 0 && batteryType != 2) {
            kvt::Fail("[VALU] BatteryType", 35);
        }
    });
}

}  // namespace pellor
