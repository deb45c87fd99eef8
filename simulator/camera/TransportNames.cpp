#include "simulator/camera/TransportNames.h"

namespace kvtsim {

const char* const kTransportFunctions[kTransportFunctionCount] = {
    "k2pInitialize",
    "k2pTerminate",
    "k2pGetDeviceInfoArray",
    "k2pConnectCamera",
    "k2pClearRemoteEventProcedureParameter",
    "k2pPushRemoteEventProcedureSendParameter",
    "k2pExecuteRemoteEventProcedure",
    "k2pGetReturnDataSize",
    "k2pGetReturnDataForExecuteRemoteEventProcedure",
    "k2pGetSizeOfMemoryData",
    "k2pExecuteGetMemoryData",
};

bool IsTransportFunction(const std::string& name) {
    for (const char* f : kTransportFunctions) {
        if (name == f) {
            return true;
        }
    }
    return false;
}

}  // namespace kvtsim
