// The real transport library behind the recorder: loaded by its full path and bound
// by the same eleven names as the product binds them, all or nothing.
#pragma once

#include <string>

#include "common/Handles.h"
#include "core/transport/TransportApi.h"

namespace kvtrecorder {

struct TargetFunctions {
    k2pInitialize_t Initialize = nullptr;
    k2pTerminate_t Terminate = nullptr;
    k2pGetDeviceInfoArray_t GetDeviceInfoArray = nullptr;
    k2pConnectCamera_t ConnectCamera = nullptr;
    k2pClearRemoteEventProcedureParameter_t ClearRemoteEventProcedureParameter = nullptr;
    k2pPushRemoteEventProcedureSendParameter_t PushRemoteEventProcedureSendParameter = nullptr;
    k2pExecuteRemoteEventProcedure_t ExecuteRemoteEventProcedure = nullptr;
    k2pGetReturnDataSize_t GetReturnDataSize = nullptr;
    k2pGetReturnDataForExecuteRemoteEventProcedure_t
        GetReturnDataForExecuteRemoteEventProcedure = nullptr;
    k2pGetSizeOfMemoryData_t GetSizeOfMemoryData = nullptr;
    k2pExecuteGetMemoryData_t ExecuteGetMemoryData = nullptr;
};

enum class LoadResult { Bound, NotLoaded, Incomplete, Self };

class TargetLibrary {
public:
    // Loads `path` (its own folder first for the libraries it needs) and binds the
    // eleven functions. On failure it holds nothing and `error` says why.
    LoadResult Load(const std::string& path, HMODULE self, std::string* error);
    void Release();
    bool Loaded() const { return _module.Valid(); }
    const TargetFunctions& Functions() const { return _functions; }

private:
    kvt::UniqueModule _module;
    TargetFunctions _functions;
};

}  // namespace kvtrecorder
