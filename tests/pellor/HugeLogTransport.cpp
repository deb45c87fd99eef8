// A stand-in transport library for one test: one camera whose "FA_GetCameraLogStart"
// reports 0xFFFFFFF0 bytes of return data that it cannot deliver. Every other procedure
// succeeds with result 0 and no return data.
#include <cstring>

#include "core/transport/TransportApi.h"

namespace {

unsigned char g_deviceInfo[kDeviceInfoRecordSize] = {};
unsigned g_pendingSize = 0;

constexpr unsigned kStatusNoData = 107;

}  // namespace

extern "C" {

__declspec(dllexport) unsigned KVT_TRANSPORT_CALL k2pInitialize() { return 0; }
__declspec(dllexport) unsigned KVT_TRANSPORT_CALL k2pTerminate() { return 0; }

__declspec(dllexport) unsigned KVT_TRANSPORT_CALL k2pGetDeviceInfoArray(void** array, unsigned* count) {
    *array = g_deviceInfo;
    *count = 1;
    return 0;
}

__declspec(dllexport) unsigned KVT_TRANSPORT_CALL k2pConnectCamera(void*, unsigned* hCamera) {
    *hCamera = 1;
    return 0;
}

__declspec(dllexport) unsigned KVT_TRANSPORT_CALL k2pClearRemoteEventProcedureParameter(unsigned) {
    return 0;
}

__declspec(dllexport) unsigned KVT_TRANSPORT_CALL k2pPushRemoteEventProcedureSendParameter(
    unsigned, unsigned, void*, unsigned) {
    return 0;
}

__declspec(dllexport) unsigned KVT_TRANSPORT_CALL k2pExecuteRemoteEventProcedure(
    unsigned, const char* name, unsigned, unsigned* result) {
    g_pendingSize = std::strcmp(name, "FA_GetCameraLogStart") == 0 ? 0xFFFFFFF0u : 0u;
    *result = 0;
    return 0;
}

__declspec(dllexport) unsigned KVT_TRANSPORT_CALL k2pGetReturnDataSize(unsigned* size) {
    *size = g_pendingSize;
    return 0;
}

__declspec(dllexport) unsigned KVT_TRANSPORT_CALL k2pGetReturnDataForExecuteRemoteEventProcedure(
    unsigned, void*, unsigned size, unsigned* copied) {
    *copied = 0;
    return size == 0 ? 0 : kStatusNoData;
}

__declspec(dllexport) unsigned KVT_TRANSPORT_CALL k2pGetSizeOfMemoryData(unsigned, const char*,
                                                                        unsigned* size) {
    *size = 0;
    return 0;
}

__declspec(dllexport) unsigned KVT_TRANSPORT_CALL k2pExecuteGetMemoryData(unsigned, void*, unsigned,
                                                                         unsigned* read) {
    *read = 0;
    return 0;
}

}  // extern "C"
