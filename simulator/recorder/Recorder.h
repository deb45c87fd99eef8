// The recorder's state in a process: its configuration, the target library, the
// recording and the call counter. One instance, made on first use and never
// destroyed: the product terminates the transport from its own unload, which at
// process exit comes after this library's unload.
//
// Statuses of the recorder's own (all odd, apart from the simulated camera's):
//   201 KVTRecorder.ini is missing or names no Target
//   203 the target library cannot be loaded
//   205 the target library lacks one of the eleven functions
//   207 the recording cannot be created
//   209 the target is the recorder itself, or a call came back into the recorder
//   211 a call before a successful k2pInitialize (there is no target to forward to)
#pragma once

#include <cstdint>
#include <string>

#include "common/Win32.h"
#include "simulator/recorder/RecordingFile.h"
#include "simulator/recorder/TargetLibrary.h"

namespace kvtrecorder {

enum Status : unsigned {
    kStatusNoConfiguration = 201,
    kStatusTargetNotLoaded = 203,
    kStatusTargetIncomplete = 205,
    kStatusNoRecording = 207,
    kStatusLoop = 209,
    kStatusNoTarget = 211,
};

constexpr char kConfigurationName[] = "KVTRecorder.ini";
constexpr char kDefaultRecording[] = "KVTItoPTP.rec";

class Recorder {
public:
    static Recorder& Instance();

    // Reads the configuration, loads and binds the target and creates the recording,
    // unless that was done before. 0, or a status above with its message on standard
    // error.
    unsigned Ready();
    // Releases the target and closes the recording (the library is being unloaded).
    void Release();

    // The frame of every forwarded call. `call` runs the target's function and gives
    // its status; `describe` then adds the call's keys to its line. The status passes
    // through as the target gave it, whatever happens to the recording.
    template <class Call, class Describe>
    unsigned Forward(const char* function, Call call, Describe describe) noexcept;

    const TargetFunctions& Target() const { return _target.Functions(); }
    // Adds "key=<value>" of a data block, or nothing when its bytes cannot be read.
    void AddBlock(kvtrec::CallLine& line, const char* key, const void* data, std::size_t size);
    // The record index of a device-info pointer in the array the target gave last:
    // "<index>", "other" or "null".
    std::string RecordOf(const void* record) const;
    void RememberDeviceArray(const void* array, unsigned count);

private:
    Recorder();
    unsigned Setup();
    unsigned Fail(unsigned status, const std::string& message);
    static void Report(const std::string& message);
    void Lost();

    CRITICAL_SECTION _cs;
    TargetLibrary _target;
    RecordingFile _recording;
    bool _ready = false;
    unsigned _depth = 0;              // calls in progress on the lock's owner thread
    std::uint64_t _number = 0;        // of the last recorded call
    bool _lostReported = false;
    std::uintptr_t _array = 0;        // device-info array of the last enumeration
    unsigned _arrayCount = 0;

    class Lock {
    public:
        explicit Lock(Recorder& r) : _r(r) { ::EnterCriticalSection(&_r._cs); }
        ~Lock() { ::LeaveCriticalSection(&_r._cs); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        Recorder& _r;
    };
};

template <class Call, class Describe>
unsigned Recorder::Forward(const char* function, Call call, Describe describe) noexcept {
    Lock lock(*this);
    if (!_ready) {
        return kStatusNoTarget;
    }
    // The critical section lets its owner in again: a target that calls back into the
    // recorder would otherwise recurse without end.
    if (_depth > 0) {
        return kStatusLoop;
    }
    ++_depth;
    const unsigned status = call(_target.Functions());
    --_depth;
    try {
        kvtrec::CallLine line;
        line.number = ++_number;
        line.function = function;
        describe(line, status);
        line.Add("st", status);
        if (!_recording.Append(line)) {
            Lost();
        }
    } catch (...) {
        Lost();
    }
    return status;
}

}  // namespace kvtrecorder
