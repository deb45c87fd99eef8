// The frame of every transport export: takes the world's lock, counts the call and
// looks up an injected fault, collects the journal line and writes it with the
// status. A body first describes its arguments, then returns Fault() if Faulted(),
// so a failed call still shows what it was given. Exceptions never leave an export:
// they become kStatusInternal.
#pragma once

#include "simulator/camera/Journal.h"
#include "simulator/camera/World.h"

namespace kvtsim {

class TransportCall {
public:
    TransportCall(World& world, const char* function) : world(world), line(function) {
        Applied a = world.faults.Next(function);
        _fault = a.hasStatus ? a.status : 0;
    }
    // The recording the call is answered from, or null (the camera model answers).
    Replay* Replaying() const { return world.replay.get(); }
    bool Faulted() const { return _fault != 0; }
    unsigned Fault() {
        line.Add("inj", 1);
        return _fault;
    }
    // The camera slot of a handle (journaled as "cam=<slot> h=<handle>", the slot
    // only for a valid handle), with the status for a bad one.
    unsigned CameraOf(std::uint32_t handle, int* index) {
        *index = world.CameraOfHandle(handle);
        if (*index >= 0) {
            line.Add("cam", static_cast<std::uint64_t>(*index));
        }
        line.AddHex("h", handle);
        return !world.initialized ? kStatusNotInitialized
                                  : (*index < 0 ? kStatusUnknownHandle : kOk);
    }

    World& world;
    JournalLine line;

private:
    unsigned _fault = 0;
};

template <class Body>
unsigned RunTransport(const char* function, Body body) noexcept {
    try {
        World& world = World::Instance();
        WorldLock lock(world);
        TransportCall call(world, function);
        unsigned status;
        try {
            status = body(call);
        } catch (...) {
            status = kStatusInternal;
        }
        call.line.Add("st", status);
        world.journal.Append(call.line);
        return status;
    } catch (...) {
        return kStatusInternal;
    }
}

}  // namespace kvtsim
