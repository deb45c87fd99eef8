// The live references of the simulated SDK. A reference is a token, never a pointer
// to memory: looking up a token that was not handed out (or was dropped) finds
// nothing instead of touching memory.
#pragma once

#include <cstdint>
#include <map>

#include "Scenario.h"
#include "VxSdk.h"

namespace vxsim {

enum class Kind { CameraList, Camera };

struct Entry {
    Kind kind;
    std::uint32_t refs = 1;        // references handed out plus one per open session
    std::uint32_t cameraCount = 0; // camera list: how many cameras it holds
    bool sessionOpen = false;      // camera
};

class CRegistry {
public:
    // Forgets every reference (the SDK's end).
    void Clear() { _entries.clear(); }
    VxsRef Add(const Entry& entry);
    // The entry of `ref` if it is live and of `kind`, else null.
    Entry* Find(VxsRef ref, Kind kind);
    Entry* FindAny(VxsRef ref);
    // Takes one reference away; the entry goes with its last one.
    void Drop(VxsRef ref);

private:
    std::map<std::uintptr_t, Entry> _entries;
    std::uintptr_t _next = 0x5A000010;  // recognisable, never 0
};

}  // namespace vxsim
