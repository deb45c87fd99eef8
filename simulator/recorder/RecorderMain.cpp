// Unload of the recorder. When the product frees it (after k2pTerminate), the target
// goes with it and the recording is closed, so that loading the chain again starts
// the target afresh, as without the recorder. At process exit nothing is released:
// the product's own unload still calls k2pTerminate after this library's.
#include "common/Win32.h"
#include "simulator/recorder/Recorder.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        kvtrecorder::Recorder::Instance().Release();
    }
    return TRUE;
}
