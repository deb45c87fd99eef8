// Transport statuses of the simulated camera library and its size limits.
// Every failure status is odd, so callers that judge a status by bit 0 see a failure.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kvtsim {

enum Status : unsigned {
    kOk = 0,
    kStatusNullPointer = 101,       // a required pointer argument is null
    kStatusUnknownHandle = 103,     // no connected camera has this handle
    kStatusNotInitialized = 105,    // k2pInitialize has not run (or k2pTerminate has)
    kStatusSizeOutOfRange = 107,    // a size or length is beyond the limits below
    kStatusUnknownProcedure = 109,  // the camera has no procedure of that name
    kStatusNoMemoryData = 111,      // no such memory-data block, or no preceding size query
    kStatusTooManyParameters = 113, // the parameter list is full
    kStatusBadArgument = 115,       // bad type code, flag, device record or camera index
    kStatusBadScenario = 117,       // the scenario could not be read (see kvtsim_ScenarioError)
    kStatusInternal = 119,          // out of memory or an unexpected failure inside
    kStatusNotFound = 121,          // test control: no such property, image or state
    kStatusNotRecorded = 123,       // replay: the call is not in the recording (Replay.h)
};

constexpr unsigned kMaxCameras = 8;
constexpr unsigned kDeviceRecordBytes = 1106;
constexpr std::size_t kMaxParameters = 256;
constexpr std::size_t kMaxParameterBytes = 64u << 20;  // one push, and a whole list
constexpr std::size_t kMaxNameLength = 255;            // procedure and block names
constexpr std::size_t kMaxReadBytes = 64u << 20;       // property gets, memory reads
constexpr std::size_t kMaxImageBytes = 512u << 20;     // one image of a release
constexpr std::size_t kMaxJournalBytes = 64u << 20;    // journal kept in memory

// Camera-side results of the built-in procedures.
constexpr std::uint32_t kResultOk = 0;
constexpr std::uint32_t kResultRefused = 1;     // bad parameters or state: odd = failure
constexpr std::uint32_t kResultNone = 0xFFFFFFFFu;  // "no such item" for size/offset queries

}  // namespace kvtsim
