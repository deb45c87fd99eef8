// The process-wide state behind CAPIManager, internal to Corvane: the loaded transport
// library, its bound functions, the enumerated cameras and their handle slots. It lives
// in static storage so that every CAPIManager user in the process shares it.
#pragma once

#include "common/Win32.h"
#include "core/transport/TransportApi.h"

namespace corvane {

// Number of camera handle slots; camera indices are 0 to kCameraSlots - 1.
constexpr unsigned kCameraSlots = 8;

struct TransportFunctions {
    k2pInitialize_t Initialize;
    k2pTerminate_t Terminate;
    k2pGetDeviceInfoArray_t GetDeviceInfoArray;
    k2pConnectCamera_t ConnectCamera;
    k2pClearRemoteEventProcedureParameter_t ClearRemoteEventProcedureParameter;
    k2pPushRemoteEventProcedureSendParameter_t PushRemoteEventProcedureSendParameter;
    k2pExecuteRemoteEventProcedure_t ExecuteRemoteEventProcedure;
    k2pGetSizeOfMemoryData_t GetSizeOfMemoryData;
    k2pExecuteGetMemoryData_t ExecuteGetMemoryData;
    k2pGetReturnDataSize_t GetReturnDataSize;
    k2pGetReturnDataForExecuteRemoteEventProcedure_t GetReturnDataForExecuteRemoteEventProcedure;
};

struct TransportState {
    HMODULE hDll;                    // null when not loaded
    TransportFunctions functions;    // all bound or all null
    void* deviceInfoArray;           // owned by the transport
    unsigned cameraCount;            // as the last enumeration reported it (settable)
    unsigned recordCount;            // records in deviceInfoArray (SetCameraCount leaves it)
    unsigned hCamera[kCameraSlots];  // handle of camera i in slot i
    unsigned cameraIndex;            // the selected camera; always below kCameraSlots
    int lastStatus;                  // status of the most recent transport call
};

// The one state object; zero at load.
TransportState& Transport() noexcept;

}  // namespace corvane
