// Tune data: the camera saves it itself; its result is not judged.
#include "plugins/pellor/CameraRun.h"
#include "plugins/pellor/DataLog.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/ProcedureFrame.h"

namespace pellor {

unsigned long __cdecl SaveTuneData(void*) {
    return RunProcedure(DataLog(), "SaveTuneData", [&] { RunCameraProcedure("SaveTuneToFile", 0); });
}

unsigned long __cdecl SaveTuneData2(void*) {
    return RunProcedure(DataLog(), "SaveTuneData2", [&] { RunCameraProcedure("SaveTune2ToFile", 0); });
}

unsigned long __cdecl SaveAETuneData(void*) {
    return RunProcedure(DataLog(), "SaveAETuneData",
                        [&] { RunCameraProcedure("SaveAETuneToFile", 0); });
}

}  // namespace pellor
