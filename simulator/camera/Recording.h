// A transport recording as the replay uses it: every call line of the file, checked
// and with its data blocks located (decoded when written inline, or a file beside the
// recording whose size is known and whose bytes are read only when answered, straight
// into the caller's buffer). The format is documented in README.md.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simulator/recording/RecordingFormat.h"

namespace kvtsim {

// A data block of a recorded call.
struct RecordedBlock {
    bool present = false;   // the call line has the key
    bool null = false;      // "null": the pointer was null
    std::string bytes;      // inline bytes
    std::string file;       // full path of the block's file, or ""
    std::uint64_t size = 0; // of the bytes or the file

    // Copies the first `count` bytes (at most `size`) into `to`; false when the file
    // cannot be read.
    bool CopyTo(void* to, std::uint64_t count) const;
    // Whether the block holds exactly these `count` bytes.
    bool Equals(const void* data, std::uint64_t count) const;
};

struct RecordedCall {
    kvtrec::CallLine call;
    RecordedBlock block;   // "data" or "records"
    std::uint32_t status = 0;

    // The number a key holds; false when it is absent, "null" or not a number.
    bool Number(const char* key, std::uint32_t* value) const;
    bool IsNull(const char* key) const { return call.Get(key) == kvtrec::kNull; }
    bool HasHandle() const;
    std::uint32_t Handle() const;
    // "<function>(key=value,...)" with the keys the call was given (no blanks).
    std::string Call() const;
};

// Reads and checks a recording; false with "line <n>: ..." in `error`.
bool LoadRecording(const std::string& path, std::vector<RecordedCall>* calls,
                   std::string* error);

// The keys of a function's call line that describe what it was given (matched by the
// replay), in written order; empty for a function that is not of the interface.
const std::vector<std::string>& InputKeys(const std::string& function);

}  // namespace kvtsim
