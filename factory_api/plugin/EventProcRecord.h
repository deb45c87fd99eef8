// The event-procedure registry's types, shared by the factory API library (the host)
// and the plug-ins: one record per registered name, 313 bucket heads, and the bucket
// hash. Header-only, so a plug-in that keeps a table of its own uses the same hash.
#pragma once

#include <cstdint>

// An event procedure: caller-cleans, one argument (the caller's parameter pointer, or
// whatever the caller passed), returns a result code (0 = success).
typedef unsigned long(__cdecl* EventProc_t)(void* pParameter);

struct EventProcRecord {
    const char* Name;              // the plug-in's text; the plug-in keeps it alive
    EventProc_t Procedure;
    unsigned long ParameterSize;   // expected parameter size in bytes; 0 = not compared
    unsigned long Direction;       // 0 input, 1 output, 3 none; stored, not interpreted
    unsigned long Reserved;        // stored, not interpreted
    EventProcRecord* Next;         // next record of the same bucket
};

constexpr unsigned kEventProcBucketCount = 313;

struct EventProcTable {
    EventProcRecord* Bucket[kEventProcBucketCount];
};

// The ELF symbol hash, with each byte of the name taken as a signed 8-bit value (so
// bytes from 0x80 up subtract). 32-bit arithmetic throughout.
inline std::uint32_t EventProcHash(const char* name) noexcept {
    std::uint32_t h = 0;
    for (const char* p = name; *p != '\0'; ++p) {
        h = h * 16u + static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(*p)));
        const std::uint32_t g = h & 0xF0000000u;
        if (g != 0) {
            h = h ^ (g >> 24) ^ g;
        }
    }
    return h;
}

inline unsigned EventProcBucket(const char* name) noexcept {
    return static_cast<unsigned>(EventProcHash(name) % kEventProcBucketCount);
}
