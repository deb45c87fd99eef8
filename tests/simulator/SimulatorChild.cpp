// A child process for the simulator tests: loads a KVTItoPTP.dll by path, as a
// product would, and reports what it saw on standard output.
//   simulator_child <dll> enumerate   -> "init=<status> count=<n> name0=<record name>"
//   simulator_child <dll> counter     -> also connects camera 0 and reads 10 bytes at
//                                        4117 of processor kind 2: "read=<status> <hex>"
//   simulator_child <dll> exit        -> SimExitHost.dll initialises the transport and
//                                        terminates it from its own unload at process
//                                        exit, after the transport library's unload
#include <cstdio>
#include <cstring>
#include <string>

#include "common/Win32.h"
#include "core/transport/TransportApi.h"

template <class F>
F Bind(HMODULE m, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(m, name)));
}

int main(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    HMODULE m = ::LoadLibraryA(argv[1]);
    if (m == nullptr) {
        std::printf("load failed\n");
        return 3;
    }
    if (std::strcmp(argv[2], "exit") == 0) {
        std::string host = argv[0];
        host = host.substr(0, host.find_last_of('\\') + 1) + "SimExitHost.dll";
        // The host must be initialised before the transport library so that it is
        // unloaded after it: free our own reference first.
        ::FreeLibrary(m);
        HMODULE h = ::LoadLibraryA(host.c_str());
        auto start = h ? reinterpret_cast<unsigned(__cdecl*)(const char*)>(
                             reinterpret_cast<void*>(::GetProcAddress(h, "StartTransport")))
                       : nullptr;
        std::printf("start=%u\n", start ? start(argv[1]) : 999u);
        return 0;  // k2pTerminate runs in the host's unload
    }
    auto init = Bind<k2pInitialize_t>(m, "k2pInitialize");
    auto enumerate = Bind<k2pGetDeviceInfoArray_t>(m, "k2pGetDeviceInfoArray");
    auto connect = Bind<k2pConnectCamera_t>(m, "k2pConnectCamera");
    auto clear = Bind<k2pClearRemoteEventProcedureParameter_t>(m, "k2pClearRemoteEventProcedureParameter");
    auto push = Bind<k2pPushRemoteEventProcedureSendParameter_t>(m, "k2pPushRemoteEventProcedureSendParameter");
    auto execute = Bind<k2pExecuteRemoteEventProcedure_t>(m, "k2pExecuteRemoteEventProcedure");
    auto size = Bind<k2pGetReturnDataSize_t>(m, "k2pGetReturnDataSize");
    auto data = Bind<k2pGetReturnDataForExecuteRemoteEventProcedure_t>(
        m, "k2pGetReturnDataForExecuteRemoteEventProcedure");
    auto terminate = Bind<k2pTerminate_t>(m, "k2pTerminate");
    if (!init || !enumerate || !connect || !clear || !push || !execute || !size || !data ||
        !terminate) {
        std::printf("bind failed\n");
        return 4;
    }
    unsigned st = init();
    void* records = nullptr;
    unsigned count = 0;
    enumerate(&records, &count);
    std::printf("init=%u count=%u name0=%s\n", st, count,
                count > 0 ? static_cast<const char*>(records) + 272 : "");
    if (std::strcmp(argv[2], "counter") == 0 && count > 0) {
        unsigned h = 0, result = 0, n = 0, copied = 0;
        connect(records, &h);
        clear(h);
        unsigned args[3] = {2, 4117, 10};
        for (unsigned& a : args) {
            push(h, 2, &a, 4);
        }
        execute(h, "MonReadAndGetData", 1, &result);
        size(&n);
        unsigned char bytes[64] = {};
        unsigned rs = data(h, bytes, n < 64 ? n : 64, &copied);
        std::printf("read=%u ", rs);
        for (unsigned i = 0; i < copied; ++i) {
            std::printf("%02x", bytes[i]);
        }
        std::printf("\n");
    }
    terminate();
    return 0;
}
