// CheckStorageMediaExistence (two u32 out): the card state of slots 1 and 2, from
// properties 0x8000001D and 0x8000001E. Both values are 0 until read.
#include <cstdint>
#include <cstring>
#include <ios>

#include "core/camera/Property.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/PropertyAccess.h"
#include "plugins/pellor/SettingsProcedures.h"

namespace pellor {
namespace {

struct CardSlot {
    std::uint32_t property;
    const char* label;
};
constexpr CardSlot kCardSlots[2] = {
    {0x8000001D, "[VALU] CARD Slot1 : "},
    {0x8000001E, "[VALU] CARD Slot2 : "},
};

}  // namespace

unsigned long __cdecl CheckStorageMediaExistence(void* p) {
    return RunProcedure(PluginLog(), "CheckStorageMediaExistence", [&] {
        auto* existence = static_cast<std::uint8_t*>(
            RequireParameter<void>(p, "pStorageMediaExistence"));
        std::memset(existence, 0, sizeof(std::uint32_t) * 2);
        CPublicProperty property;
        for (std::size_t slot = 0; slot < 2; ++slot) {
            std::uint32_t state = 0;
            ReadExactly(property, kCardSlots[slot].property, sizeof(state), &state);
            kvtlog::Stamp(PluginLog()) << kCardSlots[slot].label << std::dec << state << '\n';
            std::memcpy(existence + slot * sizeof(state), &state, sizeof(state));
        }
    });
}

}  // namespace pellor
