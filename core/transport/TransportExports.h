// The eleven functions as a transport library defines them (the simulated camera, the
// recorder): declared from the interface's pointer types, so that a definition that
// drifts from the interface does not compile. The library's .def exports them.
#pragma once

#include <type_traits>

#include "core/transport/TransportApi.h"

extern "C" {
std::remove_pointer_t<k2pInitialize_t> k2pInitialize;
std::remove_pointer_t<k2pTerminate_t> k2pTerminate;
std::remove_pointer_t<k2pGetDeviceInfoArray_t> k2pGetDeviceInfoArray;
std::remove_pointer_t<k2pConnectCamera_t> k2pConnectCamera;
std::remove_pointer_t<k2pClearRemoteEventProcedureParameter_t>
    k2pClearRemoteEventProcedureParameter;
std::remove_pointer_t<k2pPushRemoteEventProcedureSendParameter_t>
    k2pPushRemoteEventProcedureSendParameter;
std::remove_pointer_t<k2pExecuteRemoteEventProcedure_t> k2pExecuteRemoteEventProcedure;
std::remove_pointer_t<k2pGetReturnDataSize_t> k2pGetReturnDataSize;
std::remove_pointer_t<k2pGetReturnDataForExecuteRemoteEventProcedure_t>
    k2pGetReturnDataForExecuteRemoteEventProcedure;
std::remove_pointer_t<k2pGetSizeOfMemoryData_t> k2pGetSizeOfMemoryData;
std::remove_pointer_t<k2pExecuteGetMemoryData_t> k2pExecuteGetMemoryData;
}
