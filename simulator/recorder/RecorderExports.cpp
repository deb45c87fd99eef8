// The eleven transport functions of the recorder. Each forwards its arguments to the
// target's function of the same name, unchanged, and records the call after it
// returns: the arguments, the values its output pointers then hold, the data its
// buffers then hold and the status, which it passes back as it is (declared in
// core/transport/TransportExports.h from the interface's types).
//
// The recorder reads nothing without checking it first: names, output values and
// small data blocks go through SafeRead; a large block goes to its file with one
// WriteFile, which fails on unreadable memory instead of faulting; data blocks are
// taken only after status 0. Bad input that the target refuses never faults here.
#include <cstring>
#include <string>

#include "core/transport/TransportExports.h"
#include "simulator/recorder/Recorder.h"
#include "simulator/recorder/SafeRead.h"

using kvtrec::CallLine;
using kvtrecorder::Recorder;
using kvtrecorder::TargetFunctions;

namespace {

// More device-info records than this are not recorded (a target that reports them
// misbehaves; the product refuses more than eight).
constexpr unsigned kMaxRecordedDevices = 256;

Recorder& R() {
    return Recorder::Instance();
}

// The value behind a pointer, when it can be read.
template <class T>
bool ReadValue(const T* at, T* value) {
    std::string bytes;
    if (!kvtrecorder::SafeRead(at, sizeof(T), &bytes)) {
        return false;
    }
    std::memcpy(value, bytes.data(), sizeof(T));
    return true;
}

// "<key>=null" for a null output pointer, else the value it holds after the call
// (nothing when it cannot be read).
void AddOut(CallLine& line, const char* key, const unsigned* out, bool hex = false) {
    unsigned value = 0;
    if (out == nullptr) {
        line.Add(key, kvtrec::kNull);
    } else if (ReadValue(out, &value)) {
        line.Add(key, hex ? kvtrec::Hex8(value) : std::to_string(value));
    }
}

// A name the target was given, at most the length the recording keeps.
void AddName(CallLine& line, const char* key, const char* name) {
    std::string text;
    if (name == nullptr) {
        line.Add(key, kvtrec::kNullName);
    } else if (kvtrecorder::SafeReadName(name, kvtrec::kMaxNameLength, &text)) {
        line.Add(key, kvtrec::EscapeText(text));
    }
}

// The bytes a successful call left in the caller's buffer: min(size, reported).
void AddBuffer(CallLine& line, unsigned status, const void* buffer, unsigned size,
               const unsigned* reported) {
    unsigned count = 0;
    if (buffer == nullptr) {
        line.Add("data", kvtrec::kNull);
    } else if (status == 0 && reported != nullptr && ReadValue(reported, &count)) {
        R().AddBlock(line, "data", buffer, count < size ? count : size);
    }
}

void AddRecords(CallLine& line, void* const* array, const unsigned* count) {
    void* records = nullptr;
    unsigned n = 0;
    std::string bytes;
    if (ReadValue(array, &records) && ReadValue(count, &n)) {
        R().RememberDeviceArray(records, n);
        if (n <= kMaxRecordedDevices &&
            kvtrecorder::SafeRead(records, static_cast<std::size_t>(n) * kDeviceInfoRecordSize,
                                  &bytes)) {
            R().AddBlock(line, "records", bytes.data(), bytes.size());
        }
    }
}

}  // namespace

extern "C" {

unsigned KVT_TRANSPORT_CALL k2pInitialize() {
    const unsigned ready = R().Ready();
    if (ready != 0) {
        return ready;
    }
    return R().Forward(
        "k2pInitialize", [](const TargetFunctions& t) { return t.Initialize(); },
        [](CallLine&, unsigned) {});
}

unsigned KVT_TRANSPORT_CALL k2pTerminate() {
    return R().Forward(
        "k2pTerminate", [](const TargetFunctions& t) { return t.Terminate(); },
        [](CallLine&, unsigned) {});
}

unsigned KVT_TRANSPORT_CALL k2pGetDeviceInfoArray(void** deviceInfoArray, unsigned* count) {
    return R().Forward(
        "k2pGetDeviceInfoArray",
        [&](const TargetFunctions& t) { return t.GetDeviceInfoArray(deviceInfoArray, count); },
        [&](CallLine& line, unsigned status) {
            AddOut(line, "count", count);
            if (deviceInfoArray == nullptr) {
                line.Add("records", kvtrec::kNull);
            } else if (status == 0 && count != nullptr) {
                AddRecords(line, deviceInfoArray, count);
            }
        });
}

unsigned KVT_TRANSPORT_CALL k2pConnectCamera(void* deviceInfo, unsigned* hCamera) {
    return R().Forward(
        "k2pConnectCamera",
        [&](const TargetFunctions& t) { return t.ConnectCamera(deviceInfo, hCamera); },
        [&](CallLine& line, unsigned) {
            line.Add("record", R().RecordOf(deviceInfo));
            AddOut(line, "h", hCamera, true);
        });
}

unsigned KVT_TRANSPORT_CALL k2pClearRemoteEventProcedureParameter(unsigned hCamera) {
    return R().Forward(
        "k2pClearRemoteEventProcedureParameter",
        [&](const TargetFunctions& t) { return t.ClearRemoteEventProcedureParameter(hCamera); },
        [&](CallLine& line, unsigned) { line.Add("h", kvtrec::Hex8(hCamera)); });
}

unsigned KVT_TRANSPORT_CALL k2pPushRemoteEventProcedureSendParameter(unsigned hCamera,
                                                                     unsigned type, void* data,
                                                                     unsigned size) {
    return R().Forward(
        "k2pPushRemoteEventProcedureSendParameter",
        [&](const TargetFunctions& t) {
            return t.PushRemoteEventProcedureSendParameter(hCamera, type, data, size);
        },
        [&](CallLine& line, unsigned status) {
            line.Add("h", kvtrec::Hex8(hCamera)).Add("type", type).Add("size", size);
            if (data == nullptr) {
                line.Add("data", kvtrec::kNull);
            } else if (status == 0) {
                R().AddBlock(line, "data", data, size);
            }
        });
}

unsigned KVT_TRANSPORT_CALL k2pExecuteRemoteEventProcedure(unsigned hCamera, const char* name,
                                                           unsigned returnData, unsigned* result) {
    return R().Forward(
        "k2pExecuteRemoteEventProcedure",
        [&](const TargetFunctions& t) {
            return t.ExecuteRemoteEventProcedure(hCamera, name, returnData, result);
        },
        [&](CallLine& line, unsigned) {
            line.Add("h", kvtrec::Hex8(hCamera));
            AddName(line, "proc", name);
            line.Add("flag", returnData);
            AddOut(line, "res", result, true);
        });
}

unsigned KVT_TRANSPORT_CALL k2pGetReturnDataSize(unsigned* size) {
    return R().Forward(
        "k2pGetReturnDataSize", [&](const TargetFunctions& t) { return t.GetReturnDataSize(size); },
        [&](CallLine& line, unsigned) { AddOut(line, "size", size); });
}

unsigned KVT_TRANSPORT_CALL k2pGetReturnDataForExecuteRemoteEventProcedure(unsigned hCamera,
                                                                           void* buffer,
                                                                           unsigned size,
                                                                           unsigned* copied) {
    return R().Forward(
        "k2pGetReturnDataForExecuteRemoteEventProcedure",
        [&](const TargetFunctions& t) {
            return t.GetReturnDataForExecuteRemoteEventProcedure(hCamera, buffer, size, copied);
        },
        [&](CallLine& line, unsigned status) {
            line.Add("h", kvtrec::Hex8(hCamera)).Add("size", size);
            AddOut(line, "copied", copied);
            AddBuffer(line, status, buffer, size, copied);
        });
}

unsigned KVT_TRANSPORT_CALL k2pGetSizeOfMemoryData(unsigned hCamera, const char* name,
                                                   unsigned* size) {
    return R().Forward(
        "k2pGetSizeOfMemoryData",
        [&](const TargetFunctions& t) { return t.GetSizeOfMemoryData(hCamera, name, size); },
        [&](CallLine& line, unsigned) {
            line.Add("h", kvtrec::Hex8(hCamera));
            AddName(line, "block", name);
            AddOut(line, "size", size);
        });
}

unsigned KVT_TRANSPORT_CALL k2pExecuteGetMemoryData(unsigned hCamera, void* buffer, unsigned size,
                                                    unsigned* read) {
    return R().Forward(
        "k2pExecuteGetMemoryData",
        [&](const TargetFunctions& t) {
            return t.ExecuteGetMemoryData(hCamera, buffer, size, read);
        },
        [&](CallLine& line, unsigned status) {
            line.Add("h", kvtrec::Hex8(hCamera)).Add("size", size);
            AddOut(line, "read", read);
            AddBuffer(line, status, buffer, size, read);
        });
}

}  // extern "C"
