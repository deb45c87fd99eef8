// The interface of the transport library "KVTItoPTP.dll": eleven functions bound by
// name. Every function returns a 32-bit status, 0 for success. A camera handle is an
// unsigned 32-bit value. Parameter type codes: 0, 1, 2 = integer of 1, 2, 4 bytes,
// 4 = byte block; pushed data is copied at once.
#pragma once

#define KVT_TRANSPORT_CALL __stdcall

extern "C" {
typedef unsigned(KVT_TRANSPORT_CALL* k2pInitialize_t)();
typedef unsigned(KVT_TRANSPORT_CALL* k2pTerminate_t)();
// The library owns the array of `*count` device-info records of 1106 bytes each.
typedef unsigned(KVT_TRANSPORT_CALL* k2pGetDeviceInfoArray_t)(void** deviceInfoArray,
                                                              unsigned* count);
typedef unsigned(KVT_TRANSPORT_CALL* k2pConnectCamera_t)(void* deviceInfo, unsigned* hCamera);
typedef unsigned(KVT_TRANSPORT_CALL* k2pClearRemoteEventProcedureParameter_t)(unsigned hCamera);
typedef unsigned(KVT_TRANSPORT_CALL* k2pPushRemoteEventProcedureSendParameter_t)(
    unsigned hCamera, unsigned type, void* data, unsigned size);
// With returnData 0 the result is the procedure's own result; with 1 return data waits.
typedef unsigned(KVT_TRANSPORT_CALL* k2pExecuteRemoteEventProcedure_t)(unsigned hCamera,
                                                                       const char* name,
                                                                       unsigned returnData,
                                                                       unsigned* result);
typedef unsigned(KVT_TRANSPORT_CALL* k2pGetReturnDataSize_t)(unsigned* size);
typedef unsigned(KVT_TRANSPORT_CALL* k2pGetReturnDataForExecuteRemoteEventProcedure_t)(
    unsigned hCamera, void* buffer, unsigned size, unsigned* copied);
typedef unsigned(KVT_TRANSPORT_CALL* k2pGetSizeOfMemoryData_t)(unsigned hCamera,
                                                               const char* name,
                                                               unsigned* size);
typedef unsigned(KVT_TRANSPORT_CALL* k2pExecuteGetMemoryData_t)(unsigned hCamera, void* buffer,
                                                                unsigned size, unsigned* read);
}

// Size of one opaque device-info record.
constexpr unsigned kDeviceInfoRecordSize = 1106;
