// Clearing the owner texts of the camera.
//
// ClearCopyRightInfo: the artist text 0x0E070000 and then the copyright text 0x0E070001
// (64 bytes each) are written as zeros, each through its own routine; a failing artist
// write leaves the copyright text as it was. SaveCopyRightInfo (a table row) saves both.
// ClearOwnerName: the registered SetOwnerName procedure itself, with 32 zero bytes.
#include <cstdint>

#include "common/Exception.h"
#include "core/camera/Property.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/ProcedureTable.h"
#include "plugins/pellor/SettingsProcedures.h"

namespace pellor {
namespace {

constexpr std::uint32_t kOwnerTextBytes = 64;
constexpr std::uint32_t kOwnerNameBytes = 32;

struct OwnerText {
    const char* routine;   // log name
    const char* check;
    std::uint32_t property;
};
constexpr OwnerText kArtistInfo = {"_SetArtistInfo", "pArtistInfo", 0x0E070000};
constexpr OwnerText kCopyRightInfo = {"_SetCopyRighInfo", "pCopyRightInfo", 0x0E070001};

unsigned long WriteOwnerText(const OwnerText& text, void* bytes) {
    return RunProcedure(PluginLog(), text.routine, [&] {
        RequireParameter<void>(bytes, text.check);
        CPublicProperty property;
        property.Set(text.property, kOwnerTextBytes, bytes);
    });
}

}  // namespace

unsigned long __cdecl ClearCopyRightInfo(void*) {
    return RunProcedure(PluginLog(), "ClearCopyRightInfo", [&] {
        std::uint8_t zeros[kOwnerTextBytes] = {};
        RequireRoutineSuccess(WriteOwnerText(kArtistInfo, zeros), kArtistInfo.routine);
        RequireRoutineSuccess(WriteOwnerText(kCopyRightInfo, zeros), kCopyRightInfo.routine);
    });
}

unsigned long __cdecl ClearOwnerName(void*) {
    return RunProcedure(PluginLog(), "ClearOwnerName", [&] {
        EventProc_t setOwnerName = FindRegisteredProcedure("SetOwnerName");
        if (setOwnerName == nullptr) {
            kvt::Fail("[VALU] SetOwnerName", 35);
        }
        char zeros[kOwnerNameBytes] = {};
        RequireRoutineSuccess(setOwnerName(zeros), "SetOwnerName");
    });
}

}  // namespace pellor
