#include "tools/bench/TransportReplay.h"

#include <cstdlib>

namespace kvtbench {
namespace {

template <class Fn>
Fn Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

unsigned Number(const kvttest::SimCall& call, const char* key) {
    return static_cast<unsigned>(std::strtoul(call.Field(key).c_str(), nullptr, 0));
}

}  // namespace

bool TransportReplay::Prepare(const std::vector<kvttest::SimCall>& calls, std::string& error) {
    HMODULE transport = ::GetModuleHandleA("KVTItoPTP.dll");
    _clear = Bind<k2pClearRemoteEventProcedureParameter_t>(transport, "k2pClearRemoteEventProcedureParameter");
    _push = Bind<k2pPushRemoteEventProcedureSendParameter_t>(transport, "k2pPushRemoteEventProcedureSendParameter");
    _execute = Bind<k2pExecuteRemoteEventProcedure_t>(transport, "k2pExecuteRemoteEventProcedure");
    _returnSize = Bind<k2pGetReturnDataSize_t>(transport, "k2pGetReturnDataSize");
    _returnData = Bind<k2pGetReturnDataForExecuteRemoteEventProcedure_t>(
        transport, "k2pGetReturnDataForExecuteRemoteEventProcedure");
    if (!_clear || !_push || !_execute || !_returnSize || !_returnData) {
        error = "the transport library is not loaded";
        return false;
    }
    _steps.clear();
    std::size_t pushed = 0;   // pushes since the last clear
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const kvttest::SimCall& call = calls[i];
        Step step;
        step.function = call.function;
        step.handle = Number(call, "h");
        step.status = call.status;
        if (call.function == "k2pClearRemoteEventProcedureParameter") {
            pushed = 0;
        } else if (call.function == "k2pPushRemoteEventProcedureSendParameter") {
            // The pushed bytes are recorded with the execute that takes them.
            std::size_t next = i + 1;
            while (next < calls.size() && !calls[next].IsExecute()) {
                ++next;
            }
            if (next == calls.size() || pushed >= calls[next].params.size()) {
                error = "a push without its execute";
                return false;
            }
            step.type = calls[next].params[pushed].type;
            step.data = calls[next].params[pushed].bytes;
            ++pushed;
        } else if (call.IsExecute()) {
            step.procedure = call.procedure;
            step.flag = static_cast<unsigned>(call.flag);
        } else if (call.function == "k2pGetReturnDataForExecuteRemoteEventProcedure") {
            step.size = Number(call, "size");
            if (_buffer.size() < step.size) {
                _buffer.resize(step.size);
            }
        } else if (call.function != "k2pGetReturnDataSize") {
            error = "no replay for " + call.function;
            return false;
        }
        _steps.push_back(step);
    }
    return true;
}

bool TransportReplay::Run() {
    for (Step& s : _steps) {
        unsigned status = 0;
        unsigned out = 0;
        if (s.function == "k2pClearRemoteEventProcedureParameter") {
            status = _clear(s.handle);
        } else if (s.function == "k2pPushRemoteEventProcedureSendParameter") {
            status = _push(s.handle, s.type, &s.data[0], static_cast<unsigned>(s.data.size()));
        } else if (!s.procedure.empty()) {
            status = _execute(s.handle, s.procedure.c_str(), s.flag, &out);
        } else if (s.function == "k2pGetReturnDataSize") {
            status = _returnSize(&out);
        } else {
            status = _returnData(s.handle, _buffer.data(), s.size, &out);
        }
        if (status != s.status) {
            return false;
        }
    }
    return true;
}

}  // namespace kvtbench
