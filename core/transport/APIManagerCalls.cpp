// The seven per-call wrappers of CAPIManager. Each times its transport call with a
// CAutoTimer, addresses the selected camera and returns the status; none throws.
// A wrapper whose transport function is not bound returns 35, and one given a null
// pointer the transport would write through returns 3, both without calling.
#include <string>
#include <utility>

#include "common/LogFile.h"
#include "core/AutoTimer.h"
#include "core/transport/APIManager.h"
#include "core/transport/TransportLog.h"
#include "core/transport/TransportState.h"

namespace {

using corvane::Transport;

constexpr unsigned kStatusNullArgument = 3;
constexpr unsigned kStatusNotBound = 35;
constexpr unsigned kStatusUnexpected = 33;

unsigned Refuse(unsigned status, const char* what) noexcept {
    kvtlog::Stamp(corvane::TransportLog()) << "[ERR!] - " << what << '\n';
    kvtlog::CommitLog(corvane::TransportLog());
    Transport().lastStatus = static_cast<int>(status);
    return status;
}

unsigned SelectedHandle() noexcept {
    const auto& t = Transport();
    return t.hCamera[t.cameraIndex];
}

// Runs one transport call inside its timer; the status is stored before the timer
// writes its line.
// The label is the text followed by `suffix` (the procedure name of an execute).
template <class Call>
unsigned Timed(const char* label, Call&& call, const char* suffix = nullptr) noexcept {
    try {
        std::string text(label);
        if (suffix != nullptr) {
            text += suffix;
        }
        CAutoTimer timer(std::move(text));
        const unsigned status = std::forward<Call>(call)();
        Transport().lastStatus = static_cast<int>(status);
        return status;
    } catch (...) {
        Transport().lastStatus = static_cast<int>(kStatusUnexpected);
        return kStatusUnexpected;
    }
}

}  // namespace

unsigned CAPIManager::ClearRemoteEventProcedureParameter() noexcept {
    auto fn = Transport().functions.ClearRemoteEventProcedureParameter;
    if (fn == nullptr) {
        return Refuse(kStatusNotBound, "[VALU] _pImpl->_k2pClearRemoteEventProcedureParameter");
    }
    return Timed("Func : _k2pClearRemoteEventProcedureParameter",
                 [&] { return fn(SelectedHandle()); });
}

unsigned CAPIManager::PushRemoteEventProcedureSendParameter(const unsigned& type, void* data,
                                                            const unsigned& size) noexcept {
    auto fn = Transport().functions.PushRemoteEventProcedureSendParameter;
    if (fn == nullptr) {
        return Refuse(kStatusNotBound,
                      "[VALU] _pImpl->_k2pPushRemoteEventProcedureSendParemeter");
    }
    if (data == nullptr && size != 0) {
        return Refuse(kStatusNullArgument, "[VALU] data");
    }
    const unsigned t = type;
    const unsigned n = size;
    return Timed("Func : _k2pPushRemoteEventProcedureSendParameter",
                 [&] { return fn(SelectedHandle(), t, data, n); });
}

unsigned CAPIManager::ExecuteRemoteEventProcedure(const char* name, const bool& returnData,
                                                  unsigned* result) noexcept {
    auto fn = Transport().functions.ExecuteRemoteEventProcedure;
    if (fn == nullptr) {
        return Refuse(kStatusNotBound, "[VALU] _pImpl->_k2pExecuteEventProcedure");
    }
    if (name == nullptr) {
        return Refuse(kStatusNullArgument, "[VALU] name");
    }
    if (result == nullptr) {
        return Refuse(kStatusNullArgument, "[VALU] result");
    }
    const unsigned flag = returnData ? 1u : 0u;
    return Timed("Evnt : ", [&] { return fn(SelectedHandle(), name, flag, result); }, name);
}

unsigned CAPIManager::GetReturnDataSize(unsigned* size) noexcept {
    auto fn = Transport().functions.GetReturnDataSize;
    if (fn == nullptr) {
        return Refuse(kStatusNotBound, "[VALU] _pImpl->_k2pGetReturnDataSize");
    }
    if (size == nullptr) {
        return Refuse(kStatusNullArgument, "[VALU] size");
    }
    // The transport keeps one pending return data for the process: no camera handle.
    return Timed("Func : k2pGetReturnDataSize", [&] { return fn(size); });
}

unsigned CAPIManager::GetReturnDataForExecuteRemoteEventProcedure(void* buffer,
                                                                  const unsigned& size,
                                                                  unsigned* copied) noexcept {
    auto fn = Transport().functions.GetReturnDataForExecuteRemoteEventProcedure;
    if (fn == nullptr) {
        return Refuse(kStatusNotBound,
                      "[VALU] _pImpl->_k2pGetReturnDataForExecuteRemoteEventProcedure");
    }
    if (buffer == nullptr && size != 0) {
        return Refuse(kStatusNullArgument, "[VALU] buffer");
    }
    if (copied == nullptr) {
        return Refuse(kStatusNullArgument, "[VALU] copied");
    }
    const unsigned n = size;   // `copied` may alias the caller's size
    return Timed("Func : k2pGetReturnDataForExecuteRemoteEventProcedure",
                 [&] { return fn(SelectedHandle(), buffer, n, copied); });
}

unsigned CAPIManager::GetSizeOfMemoryData(const char* name, unsigned* size) noexcept {
    auto fn = Transport().functions.GetSizeOfMemoryData;
    if (fn == nullptr) {
        return Refuse(kStatusNotBound, "[VALU] _pImpl->_k2pGetSizeOfMemoryData");
    }
    if (name == nullptr) {
        return Refuse(kStatusNullArgument, "[VALU] name");
    }
    if (size == nullptr) {
        return Refuse(kStatusNullArgument, "[VALU] size");
    }
    return Timed("Func : k2pGetSizeOfMemoryData",
                 [&] { return fn(SelectedHandle(), name, size); });
}

unsigned CAPIManager::ExecuteGetMemoryData(void* buffer, const unsigned& size,
                                           unsigned* read) noexcept {
    auto fn = Transport().functions.ExecuteGetMemoryData;
    if (fn == nullptr) {
        return Refuse(kStatusNotBound, "[VALU] _pImpl->_k2pExecuteGetMemoryData");
    }
    if (buffer == nullptr && size != 0) {
        return Refuse(kStatusNullArgument, "[VALU] buffer");
    }
    if (read == nullptr) {
        return Refuse(kStatusNullArgument, "[VALU] read");
    }
    const unsigned n = size;
    return Timed("Func : k2pExecuteGetMemoryData",
                 [&] { return fn(SelectedHandle(), buffer, n, read); });
}
