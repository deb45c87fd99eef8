// Firmware versions of the camera's processors and EEPROM.
//   0x02000001 ICU, 0x02000007 ICU master, 0x02000005 ICU slave: 36-byte records,
//     passed through unchanged and dumped to the log;
//   0x02000006: 36 bytes of which single bytes are versions (EEPROM at 4, FPU at 6,
//     BP at 9, TPU at 10); the getter returns the four bytes from that offset, so the
//     version is the lowest byte of the caller's u32;
//   0x80030000: 4 bytes, the first is the MPU version.
#include <cstdint>
#include <cstring>

#include "common/LogStream.h"
#include "core/camera/Property.h"
#include "plugins/pellor/CameraRun.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/MemoryDump.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/PropertyAccess.h"

namespace pellor {
namespace {

constexpr unsigned kFirmRecordSize = 36;
constexpr unsigned kPropIcuVersion = 0x02000001;
constexpr unsigned kPropIcuSlaveVersion = 0x02000005;
constexpr unsigned kPropUnitVersions = 0x02000006;
constexpr unsigned kPropIcuMasterVersion = 0x02000007;
constexpr unsigned kPropMpuVersion = 0x80030000;

unsigned long GetFirmRecord(void* p, const char* logName, unsigned propertyID) {
    return RunProcedure(PluginLog(), logName, [&] {
        auto* record = RequireParameter<unsigned char>(p, "pFirmVersion");
        CPublicProperty property;
        property.Get(propertyID, kFirmRecordSize, record);
        const std::int32_t size = kFirmRecordSize;
        DebugPrintDumpMemory(record, &size);
    });
}

// One version byte of 0x02000006: the title line, "<item> - " and the byte in hex.
struct UnitVersion {
    const char* logName;
    const char* title;
    const char* item;
    unsigned offset;
};

unsigned long GetUnitVersion(void* p, const UnitVersion& unit) {
    return RunProcedure(PluginLog(), unit.logName, [&] {
        auto* version = RequireParameter<std::uint32_t>(p, "pFirmVersion");
        unsigned char record[kFirmRecordSize] = {};
        CPublicProperty property;
        ReadExactly(property, kPropUnitVersions, kFirmRecordSize, record);
        kvtlog::LogStream& log = PluginLog();
        kvtlog::Line(log, unit.title);
        kvtlog::Stamp(log) << unit.item << std::hex << static_cast<unsigned>(record[unit.offset])
                           << std::dec << '\n';
        std::memcpy(version, record + unit.offset, sizeof(*version));
    });
}

// Log name, title line, item line and offset in 0x02000006. The item line says ".BP"
// for the EEPROM too, as the log has always read.
const UnitVersion kFpu = {"GetFpuFirmwareVersion", "[VALU] FPU FirmVersion", "[VALU]    .FPU - ", 6};
const UnitVersion kTpu = {"GetTpuFirmwareVersion", "[VALU] TPU FirmVersion", "[VALU]    .TPU - ", 10};
const UnitVersion kBp = {"GetBpFirmwareVersion", "[VALU] BP(S-FROM) Version", "[VALU]    .BP - ", 9};
const UnitVersion kEeprom = {"GetEepromFirmwareVersion", "[VALU] EEPROM Version", "[VALU]    .BP - ", 4};

}  // namespace

unsigned long __cdecl GetIcuFirmwareVersion(void* p) {
    return GetFirmRecord(p, "GetIcuFirmwareVersion", kPropIcuVersion);
}

unsigned long __cdecl GetIcuMasterVersion(void* p) {
    return GetFirmRecord(p, "GetIcuMasterFirmwareVersion", kPropIcuMasterVersion);
}

unsigned long __cdecl GetIcuSlaveVersion(void* p) {
    return GetFirmRecord(p, "GetIcuSlaveFirmwareVersion", kPropIcuSlaveVersion);
}

// A null parameter is refused before the camera is read.
unsigned long __cdecl GetMpuFirmwareVersion(void* p) {
    return RunProcedure(PluginLog(), "GetMpuFirmwareVersion", [&] {
        auto* version = RequireParameter<std::uint32_t>(p, "pFirmVersion");
        unsigned char value[4] = {};
        CPublicProperty property;
        ReadExactly(property, kPropMpuVersion, sizeof(value), value);
        kvtlog::LogStream& log = PluginLog();
        kvtlog::Line(log, "[VALU] MPU FirmVersion");
        kvtlog::Stamp(log) << "[VALU]    .MPU - " << std::hex << static_cast<unsigned>(value[0])
                           << std::dec << '\n';
        std::memcpy(version, value, sizeof(value));
    });
}

unsigned long __cdecl GetFpuVersion(void* p) { return GetUnitVersion(p, kFpu); }
unsigned long __cdecl GetTpuVersion(void* p) { return GetUnitVersion(p, kTpu); }
unsigned long __cdecl GetBpVersion(void* p) { return GetUnitVersion(p, kBp); }
unsigned long __cdecl GetEepromVersion(void* p) { return GetUnitVersion(p, kEeprom); }

unsigned long __cdecl GetIcuCheckSum(void* p) {
    return RunProcedure(PluginLog(), "GetIcuCheckSum", [&] {
        auto* checkSum = RequireParameter<std::uint32_t>(p, "pIcuCheckSum");
        *checkSum = static_cast<std::uint32_t>(RunCameraProcedure("FA_GetIcuCheckSum", 0));
    });
}

}  // namespace pellor
