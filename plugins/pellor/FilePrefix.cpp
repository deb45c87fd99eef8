// The file-name prefix: property 0x01000007 (PROP_FILE_PREFIX), 8 bytes holding a text of
// at most 7 characters, zero-filled. SetFilePrefix derives it from the serial number.
#include <cstdint>
#include <cstring>

#include "common/Exception.h"
#include "common/LogStream.h"
#include "core/camera/Property.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/DataRecords.h"
#include "plugins/pellor/ProcedureFrame.h"

namespace pellor {
namespace {

constexpr unsigned kPropFilePrefix = 0x01000007;
constexpr unsigned kFilePrefixSize = 8;

// Serial numbers 0 to 103679: the fourth character counts blocks of 12,960 (A to H),
// the first two are base 36 and the third a decimal digit. 0 gives "000A", 359 "0Z9A",
// 12960 "000B", 103679 "ZZ9H".
constexpr std::uint32_t kSerialNoLimit = 8u * 36u * 36u * 10u;

void MakeFilePrefix(std::uint32_t s, char (&prefix)[kFilePrefixSize]) {
    static const char kBase36[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static const char kDigit[] = "0123456789";
    static const char kBlock[] = "ABCDEFGH";
    std::memset(prefix, 0, sizeof(prefix));
    prefix[0] = kBase36[(s % 12960) / 360];
    prefix[1] = kBase36[(s % 360) / 10];
    prefix[2] = kDigit[s % 10];
    prefix[3] = kBlock[s / 12960];
}

}  // namespace

unsigned long __cdecl SetFilePrefix(void*) {
    return RunProcedure(PluginLog(), "SetFilePrefix", [&] {
        kvtlog::LogStream& log = PluginLog();
        BODYID_T id = {};
        RequireRoutineSuccess(GetBodyID(&id), "GetBodyID");
        kvtlog::Stamp(log) << "[VALU] BodyID.ManufactureMonth - " << std::dec
                           << id.ManufactureMonth << '\n';
        kvtlog::Stamp(log) << "[VALU] BodyID.SerialNo         - " << std::dec << id.SerialNo
                           << '\n';
        if (id.SerialNo >= kSerialNoLimit) {
            kvt::Fail("[VALU] BodyID.SerialNo", 35);
        }
        char prefix[kFilePrefixSize];
        MakeFilePrefix(id.SerialNo, prefix);
        kvtlog::Stamp(log) << "[VALU] szFilePrefix - " << prefix << '\n';
        CPublicProperty property;
        property.Set(kPropFilePrefix, kFilePrefixSize, prefix);
    });
}

unsigned long __cdecl GetFilePrefix(void* p) {
    return RunProcedure(PluginLog(), "GetFilePrefix", [&] {
        auto* prefix = RequireParameter<unsigned char>(p, "pFilePrefix");
        CPublicProperty property;
        property.Get(kPropFilePrefix, kFilePrefixSize, prefix);
    });
}

unsigned long __cdecl SaveFilePrefix(void*) {
    return RunProcedure(PluginLog(), "SaveFilePrefix", [&] { CProperty::Save(kPropFilePrefix); });
}

unsigned long __cdecl SetDefaultFilePrefix(void*) {
    return RunProcedure(PluginLog(), "SetDefaultFilePrefix", [&] {
        char prefix[kFilePrefixSize] = {'I', 'M', 'G', '_', 0, 0, 0, 0};
        CPublicProperty property;
        property.Set(kPropFilePrefix, kFilePrefixSize, prefix);
    });
}

}  // namespace pellor
