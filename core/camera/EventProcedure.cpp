#include "core/camera/EventProcedure.h"

#include "common/LogFile.h"
#include "common/LogStream.h"
#include "core/transport/APIManager.h"

namespace {

kvtlog::LogStream s_log;

// A nonzero transport status is raised with the step's message and the status as code.
void Check(unsigned status, const char* message) {
    if (status != 0) {
        kvt::Fail(message, status);
    }
}

void Require(const void* pointer, const char* message) {
    if (pointer == nullptr) {
        kvt::Fail(message, 3);
    }
}

CAPIManager& Api() {
    return CAPIManager::GetInstance();
}

void Push(unsigned type, void* data, unsigned size, const char* message) {
    Check(Api().PushRemoteEventProcedureSendParameter(type, data, size), message);
}

void Run(const std::string& name, bool returnData, unsigned* result, const char* message) {
    Check(Api().ExecuteRemoteEventProcedure(name.c_str(), returnData, result), message);
}

// Steps 1 and 2 of a run for return data: execute with the flag set, ask the size.
unsigned RunForData(const std::string& name) {
    unsigned ignored = 0;
    Run(name, true, &ignored, "[FUNC] ExecuteRemoteEventProcedure");
    unsigned reported = 0;
    Check(Api().GetReturnDataSize(&reported), "[FUNC] GetReturnDataSize");
    return reported;
}

void CopyReturnData(void* data, unsigned size) {
    unsigned copied = 0;
    Check(Api().GetReturnDataForExecuteRemoteEventProcedure(data, size, &copied),
          "[FUNC] GetReturnDataForExecuteRemoteEventProcedure");
}

}  // namespace

CEventProcedure::~CEventProcedure() = default;

CException* CEventProcedure::_ClearParameters() noexcept {
    return kvt::ReportFailure([&] {
        Check(Api().ClearRemoteEventProcedureParameter(),
              "[FUNC] ClearRemoteEventProcedureParameter");
    });
}

CException* CEventProcedure::_PushParameterAsInteger(const int& value, const int& kind) noexcept {
    return kvt::ReportFailure([&] {
        static const unsigned kSizeOfKind[] = {1, 2, 4};
        const int k = kind;
        if (k < 0 || k > 2) {
            kvt::Fail("[VALU] ParameterType", 3);
        }
        // The low bytes of the little-endian value come first in memory.
        int v = value;
        Push(static_cast<unsigned>(k), &v, kSizeOfKind[k],
             "[FUNC] PushRemoteEventProcedureSendParameter");
    });
}

CException* CEventProcedure::_PushParameterAsString(const std::string& text) noexcept {
    return kvt::ReportFailure([&] {
        // The transport copies the bytes at once and never writes through the pointer.
        Push(4, const_cast<char*>(text.c_str()), static_cast<unsigned>(text.size() + 1),
             "[FUNC] PushRemoteEventProcedureSendParameter");
    });
}

CException* CEventProcedure::_PushParameterAsSafeArray(void* data, const unsigned& size) noexcept {
    return kvt::ReportFailure([&] {
        // The message keeps its historical spelling.
        Push(4, data, size, "[FUNC] PushRemoteEvnetProcedureSendParameter");
    });
}

CException* CEventProcedure::_Execute(const std::string& name, int* result) noexcept {
    return kvt::ReportFailure([&] {
        Require(result, "[VALU] result");
        unsigned r = 0;
        Run(name, false, &r, "[FUNC] ExecuteRemoteEventProcedure");
        *result = static_cast<int>(r);
    });
}

CException* CEventProcedure::_Execute(const std::string& name, const int& value,
                                      int* result) noexcept {
    return kvt::ReportFailure([&] {
        Require(result, "[VALU] result");
        ClearParameters();
        PushParameterAsInteger(value, 2);
        Execute(name, result);
    });
}

CException* CEventProcedure::_ExecuteAndGetData(const std::string& name, void* data,
                                                unsigned* size, int* result) noexcept {
    return kvt::ReportFailure([&] {
        Require(size, "[VALU] size");
        Require(result, "[VALU] result");
        const unsigned reported = RunForData(name);
        *size = reported;
        CopyReturnData(data, reported);
        *result = 0;
    });
}

CException* CEventProcedure::_ExecuteAndGetDataBounded(const std::string& name, void* data,
                                                       const unsigned& capacity, unsigned* size,
                                                       int* result) noexcept {
    return kvt::ReportFailure([&] {
        const unsigned room = capacity;   // `size` may point at the capacity itself
        Require(size, "[VALU] size");
        Require(result, "[VALU] result");
        const unsigned reported = RunForData(name);
        if (reported > room) {
            kvtlog::Stamp(s_log) << "[VALU] ReturnDataSize - " << std::dec << reported
                                 << " > " << room << '\n';
            kvtlog::CommitLog(s_log);
            kvt::Fail("[VALU] ReturnDataSize", 35);
        }
        *size = reported;
        CopyReturnData(data, reported);
        *result = 0;
    });
}

CException* CEventProcedure::_ExecuteAndGetSize(const std::string& name, unsigned* size,
                                                int* result) noexcept {
    return kvt::ReportFailure([&] {
        Require(size, "[VALU] size");
        Require(result, "[VALU] result");
        unsigned ignored = 0;
        Run(name, true, &ignored, "[FUNC] _k2pExecuteRemoteEventProcedure");
        *result = 0;
        unsigned reported = 0;
        Check(Api().GetReturnDataSize(&reported), "[FUNC] _k2pGetReturnDataSize");
        *size = reported;
    });
}

CException* CEventProcedure::_GetReturnData(void* data, unsigned* size, int* result) noexcept {
    return kvt::ReportFailure([&] {
        Require(size, "[VALU] size");
        Require(result, "[VALU] result");
        CopyReturnData(data, *size);
        *result = 0;
    });
}

CException* CEventProcedure::_GetDataSize(const std::string& name, unsigned* size) noexcept {
    return kvt::ReportFailure([&] {
        Require(size, "[VALU] size");
        unsigned reported = 0;
        Check(Api().GetSizeOfMemoryData(name.c_str(), &reported), "[FUNC] GetSizeOfMemoryData");
        *size = reported;
    });
}

CException* CEventProcedure::_GetData(void* data, unsigned size, unsigned* read) noexcept {
    return kvt::ReportFailure([&] {
        Require(read, "[VALU] read");
        unsigned count = 0;
        Check(Api().ExecuteGetMemoryData(data, size, &count), "[FUNC] ExecuteGetMemoryData");
        *read = count;
    });
}
