#include "simulator/recorder/Recorder.h"

#include <cstdio>

#include "common/ModulePath.h"
#include "core/transport/TransportApi.h"

namespace kvtrecorder {
namespace {

// A path of the configuration, full or relative to the recorder's folder, normalised.
std::string Resolve(const std::string& folder, const std::string& path) {
    const std::string joined = kvtrec::PathFrom(folder, path);
    char buffer[MAX_PATH] = {};
    const DWORD n = ::GetFullPathNameA(joined.c_str(), MAX_PATH, buffer, nullptr);
    return n == 0 || n >= MAX_PATH ? joined : std::string(buffer, n);
}

std::string ProfileString(const std::string& ini, const char* key) {
    char value[MAX_PATH] = {};
    ::GetPrivateProfileStringA("Recorder", key, "", value, MAX_PATH, ini.c_str());
    return value;
}

std::string LocalTime() {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    char text[32];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond);
    return text;
}

}  // namespace

Recorder::Recorder() {
    ::InitializeCriticalSection(&_cs);
}

Recorder& Recorder::Instance() {
    static Recorder* instance = new Recorder();  // never destroyed: see the class comment
    return *instance;
}

unsigned Recorder::Ready() {
    Lock lock(*this);
    return _ready ? 0u : Setup();
}

unsigned Recorder::Setup() {
    const std::string self = kvt::ModuleFileName(kvt::ThisModule());
    const std::string folder = kvtrec::FolderOf(self);
    const std::string ini = folder + kConfigurationName;
    if (folder.empty() || ::GetFileAttributesA(ini.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return Fail(kStatusNoConfiguration, "no " + ini);
    }
    const std::string target = ProfileString(ini, "Target");
    if (target.empty()) {
        return Fail(kStatusNoConfiguration, ini + " names no Target in [Recorder]");
    }
    std::string recording = ProfileString(ini, "Recording");
    if (recording.empty()) {
        recording = kDefaultRecording;
    }
    const std::string targetPath = Resolve(folder, target);
    std::string error;
    switch (_target.Load(targetPath, kvt::ThisModule(), &error)) {
        case LoadResult::Bound:
            break;
        case LoadResult::NotLoaded:
            return Fail(kStatusTargetNotLoaded, error);
        case LoadResult::Incomplete:
            return Fail(kStatusTargetIncomplete, error);
        case LoadResult::Self:
            return Fail(kStatusLoop, error);
    }
    const std::string comments = "# target: " + targetPath +
                                 "\r\n# program: " + kvt::ModuleFileName(nullptr) +
                                 "\r\n# started: " + LocalTime() + "\r\n";
    if (!_recording.Create(Resolve(folder, recording), comments, &error)) {
        _target.Release();
        return Fail(kStatusNoRecording, error);
    }
    _ready = true;
    _number = 0;
    _lostReported = false;
    _array = 0;
    _arrayCount = 0;
    return 0;
}

void Recorder::Release() {
    Lock lock(*this);
    _ready = false;
    _recording.Close();
    _target.Release();
}

unsigned Recorder::Fail(unsigned status, const std::string& message) {
    Report(message + " (status " + std::to_string(status) + ")");
    return status;
}

void Recorder::Report(const std::string& message) {
    const std::string text = "KVTItoPTP recorder: " + message + "\n";
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
    ::OutputDebugStringA(text.c_str());
}

void Recorder::Lost() {
    if (!_lostReported) {
        _lostReported = true;
        Report("cannot write to " + _recording.Path() + "; the recording misses calls from " +
               std::to_string(_number) + " on");
    }
}

void Recorder::AddBlock(kvtrec::CallLine& line, const char* key, const void* data,
                        std::size_t size) {
    std::string value;
    if (_recording.BlockValue(line.number, data, size, &value)) {
        line.Add(key, value);
    }
}

std::string Recorder::RecordOf(const void* record) const {
    if (record == nullptr) {
        return kvtrec::kNull;
    }
    const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(record);
    if (_array != 0 && at >= _array && (at - _array) % kDeviceInfoRecordSize == 0 &&
        (at - _array) / kDeviceInfoRecordSize < _arrayCount) {
        return std::to_string((at - _array) / kDeviceInfoRecordSize);
    }
    return "other";
}

void Recorder::RememberDeviceArray(const void* array, unsigned count) {
    _array = reinterpret_cast<std::uintptr_t>(array);
    _arrayCount = count;
}

}  // namespace kvtrecorder
