// The modes of the misbehaving test transport "OddTransport.dll".
#pragma once

#include "core/transport/TransportApi.h"

enum class OddMode : unsigned {
    Failing,    // every function fails with kOddStatus and writes nothing
    ShortData,  // return data: 3 bytes; memory data: claims 100 bytes more than the buffer
    BadArray,   // k2pGetDeviceInfoArray: status 0, 2 records at address 16
    NullArray,  // k2pGetDeviceInfoArray: status 0, 1 record at a null address
    HugeCount,  // k2pGetDeviceInfoArray: status 0, 100000 records (one is real)
    Lazy,       // every function succeeds and touches none of its arguments
};

// The failure status of the failing functions (odd, and far from any real status).
constexpr unsigned kOddStatus = 0x80000001u;

extern "C" typedef void(KVT_TRANSPORT_CALL* odd_SetMode_t)(unsigned mode);
