// Everything the simulated transport library holds in one process: the cameras, the
// transport-side state of each connection, the one pending return data, the faults
// and the journal. One instance, created on first use and never destroyed, so that
// calls made while the process shuts down (k2pTerminate from another module's
// unload) still find it intact. Every export holds its lock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "simulator/camera/Bytes.h"
#include "simulator/camera/CallRules.h"
#include "simulator/camera/Camera.h"
#include "simulator/camera/Journal.h"
#include "simulator/camera/ProcedureArgs.h"
#include "simulator/camera/Replay.h"
#include "simulator/camera/Status.h"

namespace kvtsim {

// The transport side of one camera slot.
struct Link {
    bool connected = false;
    std::vector<Param> params;
    std::size_t paramBytes = 0;
    bool blockSelected = false;  // a size query named a memory-data block
    std::string blockName;
    SharedBytes block;           // its content at the time of the size query
};

using CameraList = std::vector<std::unique_ptr<Camera>>;

class World {
public:
    static World& Instance();

    bool initialized = false;
    CameraList cameras;
    Link links[kMaxCameras];
    SharedBytes pending;  // return data of the last procedure run with the flag 1
    CallRules faults;     // per transport function
    Journal journal;
    std::string scenarioOrigin;  // where the current scenario came from
    std::string scenarioError;   // the last scenario that failed to load
    bool startupFailed = false;  // the startup scenario failed: k2pInitialize refuses
    std::unique_ptr<Replay> replay;  // set: the transport answers from this recording

    // Index of the connected camera with this handle, or -1.
    int CameraOfHandle(std::uint32_t handle) const;
    // Takes new cameras and faults; connections of surviving slots stay, parameter
    // lists, memory-data selections and the pending return data are dropped.
    void Replace(CameraList newCameras, CallRules newFaults);
    std::uint8_t* Records() { return _records; }
    void RefreshRecords();
    // Loads the startup scenario (environment, INI beside the library, built-in).
    void LoadStartupScenario();

    void Lock() { ::EnterCriticalSection(&_cs); }
    void Unlock() { ::LeaveCriticalSection(&_cs); }

private:
    World();
    CRITICAL_SECTION _cs;
    std::uint8_t _records[kMaxCameras * kDeviceRecordBytes] = {};
};

class WorldLock {
public:
    explicit WorldLock(World& w) : _w(w) { _w.Lock(); }
    ~WorldLock() { _w.Unlock(); }
    WorldLock(const WorldLock&) = delete;
    WorldLock& operator=(const WorldLock&) = delete;

private:
    World& _w;
};

}  // namespace kvtsim
