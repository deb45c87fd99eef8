#include "core/transport/APIManager.h"

#include <cstdint>
#include <iomanip>
#include <string>

#include "common/LogFile.h"
#include "common/LogStream.h"
#include "core/transport/TransportLog.h"
#include "core/transport/TransportState.h"
#include "core/transport/TypedEntry.h"

namespace corvane {
namespace {
TransportState s_state{};   // constant-initialised: zero before any constructor runs
kvtlog::LogStream s_log;
}  // namespace

TransportState& Transport() noexcept {
    return s_state;
}

kvtlog::LogStream& TransportLog() noexcept {
    return s_log;
}

}  // namespace corvane

namespace {

using corvane::kCameraSlots;
using corvane::Transport;
using corvane::TransportFunctions;
using corvane::TransportLog;

// A transport function gets its type from its slot (core/transport/TypedEntry.h).
using kvt::AssignEntry;

struct Binding {
    const char* exportName;
    const char* missingMessage;
    void (*assign)(TransportFunctions&, FARPROC);
};

// Looked up in this order; the first missing one fails the whole binding.
const Binding kBindings[] = {
    {"k2pInitialize", "[VALU] _pImpl->_k2pInitialize",
     &AssignEntry<&TransportFunctions::Initialize>},
    {"k2pTerminate", "[VALU] _pImpl->_k2pTerminate",
     &AssignEntry<&TransportFunctions::Terminate>},
    {"k2pGetDeviceInfoArray", "[VALU] _pImpl->_k2pGetDeviceInfoArray",
     &AssignEntry<&TransportFunctions::GetDeviceInfoArray>},
    {"k2pConnectCamera", "[VALU] _pImpl->_k2pConnectCamera",
     &AssignEntry<&TransportFunctions::ConnectCamera>},
    {"k2pClearRemoteEventProcedureParameter",
     "[VALU] _pImpl->_k2pClearRemoteEventProcedureParameter",
     &AssignEntry<&TransportFunctions::ClearRemoteEventProcedureParameter>},
    // The message keeps the historical spelling that log readers search for.
    {"k2pPushRemoteEventProcedureSendParameter",
     "[VALU] _pImpl->_k2pPushRemoteEventProcedureSendParemeter",
     &AssignEntry<&TransportFunctions::PushRemoteEventProcedureSendParameter>},
    {"k2pExecuteRemoteEventProcedure", "[VALU] _pImpl->_k2pExecuteEventProcedure",
     &AssignEntry<&TransportFunctions::ExecuteRemoteEventProcedure>},
    {"k2pGetSizeOfMemoryData", "[VALU] _pImpl->_k2pGetSizeOfMemoryData",
     &AssignEntry<&TransportFunctions::GetSizeOfMemoryData>},
    {"k2pExecuteGetMemoryData", "[VALU] _pImpl->_k2pExecuteGetMemoryData",
     &AssignEntry<&TransportFunctions::ExecuteGetMemoryData>},
    {"k2pGetReturnDataSize", "[VALU] _pImpl->_k2pGetReturnDataSize",
     &AssignEntry<&TransportFunctions::GetReturnDataSize>},
    {"k2pGetReturnDataForExecuteRemoteEventProcedure",
     "[VALU] _pImpl->_k2pGetReturnDataForExecuteRemoteEventProcedure",
     &AssignEntry<&TransportFunctions::GetReturnDataForExecuteRemoteEventProcedure>},
};

// A transport function that is called before the binding succeeded fails instead of
// jumping through a null pointer.
template <class Fn>
Fn Bound(Fn fn, const char* missingMessage) {
    if (fn == nullptr) {
        kvt::Fail(missingMessage, 35);
    }
    return fn;
}

template <class Fn>
void AddressLine(const char* text, Fn fn) {
    kvtlog::Stamp(TransportLog()) << text << std::hex << std::setw(8) << std::setfill('0')
                                  << reinterpret_cast<std::uintptr_t>(fn) << std::dec << '\n';
}

// "[VALU] hCamera[ i ] - 0x0000abcd(      43981 )"
void ConnectionLine(unsigned index, unsigned handle) {
    kvtlog::Stamp(TransportLog()) << "[VALU] hCamera[ " << std::dec << index << " ] - 0x"
                                  << std::hex << std::setw(8) << std::setfill('0') << handle
                                  << "( " << std::dec << std::setw(10) << std::setfill(' ')
                                  << handle << " )" << '\n';
    kvtlog::CommitLog(TransportLog());
}

// Connects device-info record `index` into handle slot `index`.
void Connect(unsigned index, const char* failureMessage) {
    auto& t = Transport();
    auto connect = Bound(t.functions.ConnectCamera, "[VALU] _pImpl->_k2pConnectCamera");
    if (t.deviceInfoArray == nullptr) {
        kvt::Fail("[VALU] DeviceInfoArray", 35);
    }
    // SetCameraCount may claim more cameras than the enumeration gave records for;
    // a record past the transport's array is never handed to it.
    if (index >= t.recordCount) {
        kvt::Fail("[VALU] DeviceIndex", 3);
    }
    void* record = static_cast<unsigned char*>(t.deviceInfoArray) +
                   static_cast<std::size_t>(index) * kDeviceInfoRecordSize;
    unsigned handle = 0;
    const unsigned status = connect(record, &handle);
    t.lastStatus = static_cast<int>(status);
    if (status != 0) {
        kvt::Fail(failureMessage, 1);
    }
    t.hCamera[index] = handle;
    ConnectionLine(index, handle);
}

// k2pInitialize and k2pTerminate: a nonzero status fails with code 1.
template <class Fn>
void RunOnce(Fn fn, const char* missingMessage, const char* failureMessage) {
    const unsigned status = Bound(fn, missingMessage)();
    Transport().lastStatus = static_cast<int>(status);
    if (status != 0) {
        kvt::Fail(failureMessage, 1);
    }
}

void Enumerate() {
    auto& t = Transport();
    auto enumerate =
        Bound(t.functions.GetDeviceInfoArray, "[VALU] _pImpl->_k2pGetDeviceInfoArray");
    t.recordCount = 0;
    const unsigned status = enumerate(&t.deviceInfoArray, &t.cameraCount);
    t.lastStatus = static_cast<int>(status);
    if (status != 0) {
        kvt::Fail("[FUNC] _pImpl->_k2pGetDeviceInfoArray", 1);
    }
    t.recordCount = t.cameraCount;
}

}  // namespace

const char* const CAPIManager::FILE_NAME_KVTI2PTP = "KVTItoPTP.dll";

CAPIManager::CAPIManager() = default;

// Runs at process exit, after Corvane's unload handler: a transport that is still
// loaded (its termination failed, or it was never initialised) is unloaded here.
CAPIManager::~CAPIManager() {
    auto& t = Transport();
    if (t.hDll != nullptr) {
        ::FreeLibrary(t.hDll);
        t.hDll = nullptr;
        t.functions = TransportFunctions{};
    }
}

CException* CAPIManager::_GetInstance(CAPIManager** instance) noexcept {
    return kvt::ReportFailure([&] {
        static CAPIManager singleton;
        *instance = &singleton;
    });
}

CException* CAPIManager::_LoadLibraryA() noexcept {
    return kvt::ReportFailure([&] {
        // Only the full path beside Corvane is loaded, never a bare name that the
        // search order could resolve to some other file.
        const std::string path = GetFullPath(FILE_NAME_KVTI2PTP);
        if (path.empty()) {
            kvt::Fail("[WAPI] LoadLibrary", 1);
        }
        HMODULE module = ::LoadLibraryA(path.c_str());
        if (module == nullptr) {
            kvt::Fail("[WAPI] LoadLibrary", 1);
        }
        auto& t = Transport();
        // A retry after a failed binding loads the same module again: keep one reference.
        if (t.hDll != nullptr) {
            if (t.hDll != module) {
                t.functions = TransportFunctions{};
            }
            ::FreeLibrary(t.hDll);
        }
        t.hDll = module;
    });
}

CException* CAPIManager::_LoadFunction() noexcept {
    return kvt::ReportFailure([&] {
        auto& t = Transport();
        if (t.hDll == nullptr) {
            kvt::Fail("[VALU] _pImpl->_hDll", 35);
        }
        TransportFunctions bound{};
        for (const Binding& b : kBindings) {
            FARPROC entry = ::GetProcAddress(t.hDll, b.exportName);
            if (entry == nullptr) {
                t.functions = TransportFunctions{};
                kvt::Fail(b.missingMessage, 35);
            }
            b.assign(bound, entry);
        }
        t.functions = bound;
        AddressLine("[VALU] _k2pInitialize         - 0x", bound.Initialize);
        AddressLine("[VALU] _k2pTerminate          - 0x", bound.Terminate);
        AddressLine("[VALU] _k2pGetDeviceInfoArray - 0x", bound.GetDeviceInfoArray);
        AddressLine("[VALU] _k2pConnectCamera      - 0x", bound.ConnectCamera);
        kvtlog::CommitLog(TransportLog());
    });
}

void CAPIManager::FreeLibrary() noexcept {
    auto& t = Transport();
    ::FreeLibrary(t.hDll);
    t.hDll = nullptr;
    t.functions = TransportFunctions{};
}

CException* CAPIManager::_Initialize() noexcept {
    return kvt::ReportFailure([&] {
        RunOnce(Transport().functions.Initialize, "[VALU] _pImpl->_k2pInitialize",
                "[FUNC] _pImpl->_k2pInitiaize");
    });
}

CException* CAPIManager::_Terminate() noexcept {
    return kvt::ReportFailure([&] {
        RunOnce(Transport().functions.Terminate, "[VALU] _pImpl->_k2pTerminate",
                "[FUNC] _pImpl->Terminate");
    });
}

CException* CAPIManager::_GetDeviceInfoArray() noexcept {
    return kvt::ReportFailure([&] {
        Enumerate();
        kvtlog::Stamp(TransportLog())
            << "[VALU] CameraCount - " << std::dec << Transport().cameraCount << '\n';
        kvtlog::CommitLog(TransportLog());
    });
}

CException* CAPIManager::_GetDeviceInfoArray(unsigned* count) noexcept {
    return kvt::ReportFailure([&] {
        if (count == nullptr) {
            kvt::Fail("[VALU] count", 3);
        }
        Enumerate();
        *count = Transport().cameraCount;
    });
}

CException* CAPIManager::_ConnectCamera() noexcept {
    return kvt::ReportFailure([&] {
        // Connecting record 0 of an empty enumeration would hand the transport a
        // record that does not exist.
        if (Transport().cameraCount == 0) {
            kvt::Fail("[VALU] CameraCount", 3);
        }
        Connect(0, "[FUNC] _pImpl->_k2pConnectCamera");
    });
}

CException* CAPIManager::_ConnectCameraEx(const unsigned& index) noexcept {
    return kvt::ReportFailure([&] {
        const unsigned i = index;
        if (i >= Transport().cameraCount || i >= kCameraSlots) {
            kvt::Fail("[VALU] DeviceIndex", 3);
        }
        Connect(i, "[FUNC] _pImpl->_k2pConnectCameraEx");
    });
}

CException* CAPIManager::_ConnectCameraEx() noexcept {
    return kvt::ReportFailure([&] {
        const unsigned count = Transport().cameraCount;
        // There are eight handle slots; more cameras are refused as a whole rather than
        // connected in part.
        if (count > kCameraSlots) {
            kvt::Fail("[VALU] CameraCount", 35);
        }
        for (unsigned i = 0; i < count; ++i) {
            Connect(i, "[FUNC] _pImpl->_k2pConnectCameraEx");
        }
    });
}

CException* CAPIManager::_SelectCamera(const unsigned& index) noexcept {
    return kvt::ReportFailure([&] {
        const unsigned i = index;
        if (i >= Transport().cameraCount || i >= kCameraSlots) {
            kvt::Fail("[VALU] CameraIndex", 3);
        }
        Transport().cameraIndex = i;
    });
}

void CAPIManager::SetCameraCount(const unsigned& count) noexcept {
    Transport().cameraCount = count;
}

unsigned CAPIManager::GetCameraCount() const noexcept {
    return Transport().cameraCount;
}

void CAPIManager::SetCameraHandle(const unsigned& handle) noexcept {
    auto& t = Transport();
    t.hCamera[t.cameraIndex] = handle;
}

unsigned CAPIManager::GetCameraHandle() const noexcept {
    const auto& t = Transport();
    return t.hCamera[t.cameraIndex];
}
