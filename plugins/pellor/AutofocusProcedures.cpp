// DisableAF, EnableAF: byte 10 of the 84-byte property 0x80010007 is the autofocus-off
// flag. The whole block is read, the one byte changed and the block written back, so a
// short read would write zeros over the bytes the camera did not send: it fails instead.
#include <cstdint>

#include "core/camera/Property.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/PropertyAccess.h"
#include "plugins/pellor/SettingsProcedures.h"

namespace pellor {
namespace {

constexpr std::uint32_t kFocusSettings = 0x80010007;
constexpr std::uint32_t kFocusSettingsSize = 84;
constexpr std::uint32_t kAutofocusOffByte = 10;

unsigned long SetAutofocusOff(const char* logName, std::uint8_t off) {
    return RunProcedure(PluginLog(), logName, [&] {
        std::uint8_t block[kFocusSettingsSize] = {};
        CPublicProperty property;
        ReadExactly(property, kFocusSettings, kFocusSettingsSize, block);
        block[kAutofocusOffByte] = off;
        property.Set(kFocusSettings, kFocusSettingsSize, block);
    });
}

}  // namespace

unsigned long __cdecl DisableAF(void*) {
    return SetAutofocusOff("DisableAF", 1);
}

unsigned long __cdecl EnableAF(void*) {
    return SetAutofocusOff("EnableAF", 0);
}

}  // namespace pellor
