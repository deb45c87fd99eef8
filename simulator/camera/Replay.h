// Answers the eleven transport functions from a recording instead of the camera model.
//
// Matching: every call belongs to a stream, the calls of one camera handle (those
// that take a handle; k2pGetReturnDataSize goes with the handle of the last execute)
// or the transport's own (initialise, terminate, enumerate, connect). A call must
// match the next recorded call of its stream: the same function and the same values
// of what it is given (handle, type, size and bytes of a push, procedure name and
// flag, sizes, block name, record index) and the same null output pointers. After an
// answer with a failure status the next call of that stream may also match further on
// (the product leaves the rest of a failed step out); the calls passed over are
// dropped. A matched call gets the recorded status, output values and data.
//
// A call that matches nothing departs from the recording: it fails with
// kStatusNotRecorded, its journal line and standard error name it and the nearest
// recorded call, and every later call fails the same way (answers after a departure
// would be guesses).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "simulator/camera/Journal.h"
#include "simulator/camera/ProcedureArgs.h"
#include "simulator/camera/Recording.h"

namespace kvtsim {

class Replay {
public:
    // The recording at `path`; null with `error` when it cannot be read.
    static std::unique_ptr<Replay> Load(const std::string& path, std::string* error);
    const std::string& Path() const { return _path; }

    unsigned Initialize(JournalLine& line);
    unsigned Terminate(JournalLine& line);
    unsigned GetDeviceInfoArray(JournalLine& line, void** deviceInfoArray, unsigned* count);
    unsigned ConnectCamera(JournalLine& line, void* deviceInfo, unsigned* hCamera);
    unsigned Clear(JournalLine& line, unsigned hCamera);
    unsigned Push(JournalLine& line, unsigned hCamera, unsigned type, const void* data,
                  unsigned size);
    unsigned Execute(JournalLine& line, unsigned hCamera, const char* name, unsigned returnData,
                     unsigned* result);
    unsigned GetReturnDataSize(JournalLine& line, unsigned* size);
    unsigned GetReturnData(JournalLine& line, unsigned hCamera, void* buffer, unsigned size,
                           unsigned* copied);
    unsigned GetSizeOfMemoryData(JournalLine& line, unsigned hCamera, const char* name,
                                 unsigned* size);
    unsigned GetMemoryData(JournalLine& line, unsigned hCamera, void* buffer, unsigned size,
                           unsigned* read);

private:
    struct Stream {
        std::vector<std::size_t> calls;   // indexes into _calls, in recorded order
        std::size_t next = 0;             // the first call not yet answered
        bool afterFailure = false;        // the last answer was a failure status
    };
    class Query;

    Replay() = default;
    static std::string StreamOf(std::uint32_t handle);
    // The recorded call that answers `query`, or null after a departure (reported).
    const RecordedCall* Match(JournalLine& line, const std::string& stream, const Query& query);
    void Depart(JournalLine& line, const Stream* stream, const Query& query);
    // Writes a recorded number to a non-null output pointer.
    static void Answer(const RecordedCall& c, const char* key, unsigned* out);
    // The two calls that copy data into a buffer: `countKey` is their output count.
    unsigned CopyCall(JournalLine& line, const char* function, const char* countKey,
                      unsigned hCamera, void* buffer, unsigned size, unsigned* count);
    void JournalCamera(JournalLine& line, std::uint32_t handle) const;

    std::string _path;
    std::vector<RecordedCall> _calls;
    std::map<std::string, Stream> _streams;
    bool _departed = false;
    std::string _lastExecuteStream;                // of k2pGetReturnDataSize
    std::vector<std::unique_ptr<std::string>> _arrays;  // device records given out, kept
    const std::string* _array = nullptr;           // the last of them
    std::map<std::uint32_t, unsigned> _cameraOf;   // handle -> record index connected
    std::map<std::uint32_t, std::vector<Param>> _params;  // pushed, for the journal
};

}  // namespace kvtsim
