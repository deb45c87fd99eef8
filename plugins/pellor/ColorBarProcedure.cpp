// OutputColorBarChart: "FA_DISP_StartMix" with the 32-bit integers 255 and 0; a camera
// result with bit 0 set fails with "[EVNT] FA_DISP_StartMix".
#include "core/camera/EventProcedure.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/SettingsProcedures.h"

namespace pellor {

unsigned long __cdecl OutputColorBarChart(void*) {
    return RunProcedure(PluginLog(), "_OutputColorBarChart", [&] {
        constexpr int kInteger32 = 2;
        CEventProcedure procedure;
        procedure.ClearParameters();
        procedure.PushParameterAsInteger(255, kInteger32);
        procedure.PushParameterAsInteger(0, kInteger32);
        int result = 0;
        procedure.Execute("FA_DISP_StartMix", &result);
        RequireCameraSuccess(result, "FA_DISP_StartMix");
    });
}

}  // namespace pellor
