// Tune data: the camera saves it itself; its result is not judged.
#include "plugins/pellor/CameraRun.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/ProcedureFrame.h"

namespace pellor {

unsigned long __cdecl SaveTuneData(void*) {
    return RunProcedure(PluginLog(), "SaveTuneData", [&] { RunCameraProcedure("SaveTuneToFile", 0); });
}

unsigned long __cdecl SaveTuneData2(void*) {
    return RunProcedure(PluginLog(), "SaveTuneData2", [&] { RunCameraProcedure("SaveTune2ToFile", 0); });
}

unsigned long __cdecl SaveAETuneData(void*) {
    return RunProcedure(PluginLog(), "SaveAETuneData",
                        [&] { RunCameraProcedure("SaveAETuneToFile", 0); });
}

}  // namespace pellor
