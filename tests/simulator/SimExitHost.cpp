// A test library standing in for a product module that terminates the transport from
// its own unload at process exit - when the transport library, loaded after it, has
// already been unloaded by the process's shutdown.
#include "common/Win32.h"
#include "core/transport/TransportApi.h"

namespace {
k2pTerminate_t g_terminate = nullptr;
}

extern "C" __declspec(dllexport) unsigned __cdecl StartTransport(const char* path) {
    HMODULE m = ::LoadLibraryA(path);  // kept: released by the process exit
    if (m == nullptr) {
        return 1;
    }
    auto init = reinterpret_cast<k2pInitialize_t>(
        reinterpret_cast<void*>(::GetProcAddress(m, "k2pInitialize")));
    g_terminate = reinterpret_cast<k2pTerminate_t>(
        reinterpret_cast<void*>(::GetProcAddress(m, "k2pTerminate")));
    return init && g_terminate ? init() : 2;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved != nullptr && g_terminate != nullptr) {
        g_terminate();
    }
    return TRUE;
}
