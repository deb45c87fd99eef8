// The digital adjustment offsets: property 0x1F000010 holds DeltaX and DeltaY as two
// signed 16-bit values.
#include <cstdint>
#include <cstring>

#include "common/LogStream.h"
#include "core/camera/Property.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/DataRecords.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/PropertyAccess.h"

namespace pellor {

unsigned long __cdecl GetDigitalParaAdjData(void* p) {
    return RunProcedure(PluginLog(), "GetDigitalParaAdjData", [&] {
        auto* adj = RequireParameter<DIGITAL_PARA_ADJ_T>(p, "pDigitalParaData");
        std::int16_t delta[2] = {};
        CPublicProperty property;
        ReadExactly(property, 0x1F000010u, sizeof(delta), delta);
        adj->DeltaX = delta[0];
        adj->DeltaY = delta[1];
        kvtlog::LogStream& log = PluginLog();
        kvtlog::Stamp(log) << "[VALU] DeltaX - " << std::dec
                           << static_cast<std::uint32_t>(adj->DeltaX) << '\n';
        kvtlog::Stamp(log) << "[VALU] DeltaY - " << std::dec
                           << static_cast<std::uint32_t>(adj->DeltaY) << '\n';
    });
}

}  // namespace pellor
