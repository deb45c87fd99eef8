#include "factory_api/PropertyLookup.h"

#include <cstring>

#include "common/LogStream.h"
#include "factory_api/ModuleState.h"
#include "include/kvt_factory.h"

namespace kvtq517 {

unsigned long SearchPropertyData(const char* name, PROPERTY_DATA_T& record) {
    std::memset(&record, 0, sizeof(record));
    std::strncpy(record.szName, name, sizeof(record.szName) - 1);
    kvtlog::Stamp(ApiLog()) << "[VALU] PropertyData.szName - " << record.szName << '\n';
    const unsigned long result = KVT_ExecuteEventProc("SearchPropertyData", &record);
    kvtlog::Stamp(ApiLog()) << "[VALU] PropertyData.ID     - " << std::dec << record.ID << '\n';
    kvtlog::Stamp(ApiLog()) << "[VALU] PropertyData.Size   - " << std::dec << record.Size
                            << '\n';
    return result;
}

}  // namespace kvtq517
