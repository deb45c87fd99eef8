// The transport calls an operation made, replayed straight into the transport library:
// the same functions, handles, parameters and procedure names, in the same order,
// without the toolkit around them. The baseline of the call benchmarks.
#pragma once

#include <string>
#include <vector>

#include "common/Win32.h"
#include "core/transport/TransportApi.h"
#include "support/SimCamera.h"

namespace kvtbench {

class TransportReplay {
public:
    // Binds the transport functions of the loaded "KVTItoPTP.dll" and prepares the
    // recorded calls (the simulated camera's journal of one run of the operation).
    bool Prepare(const std::vector<kvttest::SimCall>& calls, std::string& error);
    // Makes the calls once; false when one returns a status other than recorded.
    bool Run();
    std::size_t CallCount() const { return _steps.size(); }

private:
    struct Step {
        std::string function;
        unsigned handle = 0;
        unsigned type = 0;
        std::string data;        // a pushed parameter's bytes
        std::string procedure;
        unsigned flag = 0;
        unsigned size = 0;       // bytes asked of the return data
        unsigned status = 0;     // as recorded
    };
    std::vector<Step> _steps;
    std::vector<unsigned char> _buffer;
    k2pClearRemoteEventProcedureParameter_t _clear = nullptr;
    k2pPushRemoteEventProcedureSendParameter_t _push = nullptr;
    k2pExecuteRemoteEventProcedure_t _execute = nullptr;
    k2pGetReturnDataSize_t _returnSize = nullptr;
    k2pGetReturnDataForExecuteRemoteEventProcedure_t _returnData = nullptr;
};

}  // namespace kvtbench
