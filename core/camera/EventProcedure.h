// CEventProcedure: the client of the camera's remote event procedures and named
// memory-data blocks. Every step is one timed CAPIManager call on the selected camera;
// a failed transport status is raised as a CException whose code is that status.
// No state of its own: the parameter list and pending return data live in the transport.
//
// Members come in two halves (see common/ModuleBoundary.h).
//
// Return data: ExecuteAndGetData(name, data, size, result) copies as many bytes as the
// camera returns, as the procedure's callers have always relied on; it suits only a
// buffer known to hold the procedure's largest return data. The form with `capacity`
// refuses return data larger than the buffer ("[VALU] ReturnDataSize", 35, nothing
// copied, *size untouched); monitor reads and property reads use it.
#pragma once

#include <string>

#include "common/Exception.h"
#include "common/ExportMacros.h"
#include "common/ModuleBoundary.h"

class CORVANE_API CEventProcedure {
public:
    CEventProcedure() = default;
    CEventProcedure(const CEventProcedure&) = default;
    CEventProcedure& operator=(const CEventProcedure&) = default;
    virtual ~CEventProcedure();

    void ClearParameters() { kvt::RaiseReported(_ClearParameters()); }
    // Integer kind 0, 1, 2: the low 1, 2 or 4 bytes of `value` (type code = kind).
    void PushParameterAsInteger(const int& value, const int& kind) {
        kvt::RaiseReported(_PushParameterAsInteger(value, kind));
    }
    // The characters and the terminating zero, as a byte block.
    void PushParameterAsString(const std::string& text) {
        kvt::RaiseReported(_PushParameterAsString(text));
    }
    void PushParameterAsSafeArray(void* data, const unsigned& size) {
        kvt::RaiseReported(_PushParameterAsSafeArray(data, size));
    }

    // Runs the procedure with the pushed parameters; its own result goes to *result
    // (a nonzero result is not a failure here).
    void Execute(const std::string& name, int* result) {
        kvt::RaiseReported(_Execute(name, result));
    }
    // Clears the parameters, pushes `value` as a 4-byte integer and runs the procedure.
    void Execute(const std::string& name, const int& value, int* result) {
        kvt::RaiseReported(_Execute(name, value, result));
    }
    // Runs the procedure for return data and copies all of it into `data`;
    // *size receives the returned count. *result is 0 on success.
    void ExecuteAndGetData(const std::string& name, void* data, unsigned* size, int* result) {
        kvt::RaiseReported(_ExecuteAndGetData(name, data, size, result));
    }
    // The same for a buffer of `capacity` bytes: larger return data is refused.
    void ExecuteAndGetData(const std::string& name, void* data, const unsigned& capacity,
                           unsigned* size, int* result) {
        kvt::RaiseReported(_ExecuteAndGetDataBounded(name, data, capacity, size, result));
    }
    // Runs the procedure for return data and gives its size; fetch it with GetReturnData.
    void ExecuteAndGetSize(const std::string& name, unsigned* size, int* result) {
        kvt::RaiseReported(_ExecuteAndGetSize(name, size, result));
    }
    // Copies *size bytes of the pending return data into `data`.
    void GetReturnData(void* data, unsigned* size, int* result) {
        kvt::RaiseReported(_GetReturnData(data, size, result));
    }
    // Size of the named memory-data block; GetData reads the block named here.
    void GetDataSize(const std::string& name, unsigned* size) {
        kvt::RaiseReported(_GetDataSize(name, size));
    }
    void GetData(void* data, unsigned size, unsigned* read) {
        kvt::RaiseReported(_GetData(data, size, read));
    }

    // The exported halves: each returns its failure instead of raising it.
    CException* _ClearParameters() noexcept;
    CException* _PushParameterAsInteger(const int& value, const int& kind) noexcept;
    CException* _PushParameterAsString(const std::string& text) noexcept;
    CException* _PushParameterAsSafeArray(void* data, const unsigned& size) noexcept;
    CException* _Execute(const std::string& name, int* result) noexcept;
    CException* _Execute(const std::string& name, const int& value, int* result) noexcept;
    CException* _ExecuteAndGetData(const std::string& name, void* data, unsigned* size,
                                   int* result) noexcept;
    CException* _ExecuteAndGetDataBounded(const std::string& name, void* data,
                                          const unsigned& capacity, unsigned* size,
                                          int* result) noexcept;
    CException* _ExecuteAndGetSize(const std::string& name, unsigned* size,
                                   int* result) noexcept;
    CException* _GetReturnData(void* data, unsigned* size, int* result) noexcept;
    CException* _GetDataSize(const std::string& name, unsigned* size) noexcept;
    CException* _GetData(void* data, unsigned size, unsigned* read) noexcept;
};
