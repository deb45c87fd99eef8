#include "plugins/pellor/PropertyList.h"

#include <cstring>

#include "common/Exception.h"
#include "common/LogStream.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/PropertyCatalogue.h"

namespace pellor {

unsigned long GetPropertyDataCount(std::int32_t* count) {
    return RunProcedure(PluginLog(), "GetPropertyDataCount", [&] {
        auto* out = RequireParameter<std::int32_t>(count, "pnCount");
        std::int32_t n = 0;
        while (kPropTable[n].ID != kPropEndID) {
            ++n;
        }
        kvtlog::Stamp(PluginLog()) << "[VALU] nCount - " << std::dec << n << '\n';
        *out = n;
    });
}

unsigned long GetPropertyDataList(PROPERTY_DATA_T* list) {
    return RunProcedure(PluginLog(), "GetPropertyDataList", [&] {
        std::memcpy(RequireParameter<PROPERTY_DATA_T>(list, "pPropertyData"), kPropTable,
                    sizeof(kPropTable));
    });
}

void RoundUpToMultipleOf4(std::uint32_t* size) {
    std::uint32_t& n = *RequireParameter<std::uint32_t>(size, "pnSize");
    if (n % 4 != 0) {
        n = (n / 4 + 1) * 4;
    }
}

}  // namespace pellor
