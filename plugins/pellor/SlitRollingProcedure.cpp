// SetSlitRollingMode (u32 in): sets the release mode for slit rolling, then the
// accumulate time in HD lines: HdNum = value x 10000 / 226, in double precision,
// truncated. At most 3717 lines are accepted; the release mode set before a refusal
// stays set.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ios>

#include "common/Exception.h"
#include "core/camera/EventProcedure.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/SettingsProcedures.h"

namespace pellor {
namespace {

constexpr std::uint64_t kMaxHdLines = 3717;

}  // namespace

unsigned long __cdecl SetSlitRollingMode(void* p) {
    return RunProcedure(PluginLog(), "SetSlitRollingMode", [&] {
        std::uint32_t value = 0;
        std::memcpy(&value, RequireParameter<void>(p, "pParameter"), sizeof(value));

        CEventProcedure procedure;
        int result = 0;
        procedure.Execute("FA_SetReleaseModeForSR", 0, &result);
        RequireCameraSuccess(result, "FA_SetReleaseModeForSR");

        // Any 32-bit value times 10000/226 fits 64 bits exactly after truncation.
        const std::uint64_t hdNum =
            static_cast<std::uint64_t>(std::trunc(static_cast<double>(value) * 10000.0 / 226.0));
        kvtlog::Stamp(PluginLog()) << "[VALU] HdNum - " << std::dec << hdNum << '\n';
        if (hdNum > kMaxHdLines) {
            kvtlog::Line(PluginLog(), "[ERR!] HD_Count is Over");
            kvt::Fail("[EVNT] nHDCount", 3);
        }
        procedure.Execute("FA_SetAccumulateTimeForSR", static_cast<int>(hdNum), &result);
        RequireCameraSuccess(result, "FA_SetAccumulateTimeForSR");
    });
}

}  // namespace pellor
