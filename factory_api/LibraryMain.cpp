// The library's entry point. Thread attach and detach do nothing; load and unload
// always report success (a failed initialisation is reported by KVT_OpenDevice).
#include "common/Win32.h"
#include "factory_api/LibraryLifecycle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        kvtq517::OnProcessAttach(module);
        break;
    case DLL_PROCESS_DETACH:
        kvtq517::OnProcessDetach();
        break;
    default:
        break;
    }
    return TRUE;
}
