#include "plugins/pellor/PropertyIndex.h"

#include <cstring>

#include "common/Exception.h"
#include "common/LogStream.h"
#include "factory_api/plugin/EventProcRecord.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/PropertyCatalogue.h"

namespace pellor {
namespace {

// One indexed record: its name in the constant catalogue, identifier and size.
struct PropertyIndexNode {
    const char* Name;
    std::uint32_t ID;
    std::uint32_t Size;
    PropertyIndexNode* Next;
};

PropertyIndexNode* g_buckets[kEventProcBucketCount] = {};

}  // namespace

unsigned long RegisterPropertyData() {
    return RunProcedure(PluginLog(), "RegisterPropertyData", [&] {
        for (unsigned row = 0; kPropTable[row].ID != kPropEndID; ++row) {
            const PROPERTY_DATA_T& record = kPropTable[row];
            PropertyIndexNode*& head = g_buckets[EventProcBucket(record.szName)];
            head = new PropertyIndexNode{record.szName, record.ID, record.Size, head};
        }
    });
}

bool FindPropertyData(const char* name, std::uint32_t* id, std::uint32_t* size) noexcept {
    for (const PropertyIndexNode* node = g_buckets[EventProcBucket(name)]; node != nullptr;
         node = node->Next) {
        if (std::strcmp(node->Name, name) == 0) {
            *id = node->ID;
            *size = node->Size;
            return true;
        }
    }
    return false;
}

// The caller's name is taken as a zero-terminated text within the 64 bytes of szName:
// a name without a terminating zero there is refused instead of read beyond the record.
unsigned long __cdecl SearchPropertyData(void* p) {
    return RunProcedure(PluginLog(), "SearchPropertyData", [&] {
        auto* data = RequireParameter<PROPERTY_DATA_T>(p, "pPropertyData");
        if (std::memchr(data->szName, '\0', sizeof(data->szName)) == nullptr) {
            kvt::Fail("[VALU] pPropertyData->szName", 3);
        }
        std::uint32_t id = 0;
        std::uint32_t size = 0;
        if (!FindPropertyData(data->szName, &id, &size)) {
            PluginLog() << "[CMNT] Not Found - " << data->szName << '\n';
            kvt::Fail("[CMNT] Not Found", 25);
        }
        data->ID = id;
        data->Size = size;
    });
}

}  // namespace pellor
