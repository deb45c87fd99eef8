// The body identifier: property 0x01000006 (PROP_BODY_ID) holds the body number as two
// 32-bit words, the high half first; the BODYID block caches it for the core library
// as one little-endian 64-bit value.
#include <cstdint>

#include "common/Exception.h"
#include "common/LogStream.h"
#include "common/SharedMemory.h"
#include "core/camera/Property.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/DataRecords.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/PropertyAccess.h"

namespace pellor {
namespace {

constexpr unsigned kPropBodyID = 0x01000006;

void RequireBlock(CBodyIDSharedMemory& block) {
    if (block.GetpSharedMemory() == nullptr) {
        kvt::Fail("[VALU] pBodyIDSharedMemory", 5);
    }
}

void CacheBodyNumber(CBodyIDSharedMemory& block, std::uint64_t number) {
    kvt::BlockAccess access(block);
    if (!access.Write(number)) {
        kvt::Fail("[VALU] pBodyIDSharedMemory", 5);
    }
}

}  // namespace

unsigned long __cdecl SetBodyID(void* p) {
    return RunProcedure(PluginLog(), "SetBodyID", [&] {
        CBodyIDSharedMemory block;
        const auto* id = RequireParameter<const BODYID_T>(p, "pBodyID");
        RequireBlock(block);
        const std::uint64_t number = id->ManufactureMonth * 10000000000ull +
                                     id->Second * 100000000ull + id->Third * 10000000ull +
                                     id->Fourth * 1000000ull + id->SerialNo;
        std::uint32_t words[2] = {static_cast<std::uint32_t>(number >> 32),
                                  static_cast<std::uint32_t>(number)};
        CPublicProperty property;
        property.Set(kPropBodyID, sizeof(words), words);
        CacheBodyNumber(block, number);
    });
}

unsigned long __cdecl GetBodyID(void* p) {
    return RunProcedure(PluginLog(), "GetBodyID", [&] {
        CBodyIDSharedMemory block;
        auto* id = RequireParameter<BODYID_T>(p, "pBodyID");
        RequireBlock(block);
        std::uint32_t words[2] = {};
        CPublicProperty property;
        ReadExactly(property, kPropBodyID, sizeof(words), words);
        const std::uint64_t number = (std::uint64_t{words[0]} << 32) | words[1];
        CacheBodyNumber(block, number);

        std::uint64_t r = number;
        id->ManufactureMonth = static_cast<std::uint32_t>(r / 10000000000ull);
        r %= 10000000000ull;
        id->Second = static_cast<std::uint32_t>(r / 100000000ull);
        r %= 100000000ull;
        id->Third = static_cast<std::uint32_t>(r / 10000000ull);
        r %= 10000000ull;
        id->Fourth = static_cast<std::uint32_t>(r / 1000000ull);
        id->SerialNo = static_cast<std::uint32_t>(r % 1000000ull);
        kvtlog::Stamp(PluginLog()) << "BodyID - " << std::dec << id->SerialNo << '\n';
    });
}

unsigned long __cdecl SaveBodyID(void*) {
    return RunProcedure(PluginLog(), "SaveBodyID", [&] { CProperty::Save(kPropBodyID); });
}

}  // namespace pellor
