// A transport library that misbehaves on purpose, as a target of the recorder. Its
// behaviour is set with odd_SetMode (see OddTransport.h); none of it faults on the
// arguments it is given.
#include <cstring>

#include "core/transport/TransportApi.h"
#include "tests/recorder/OddTransport.h"

namespace {

OddMode g_mode = OddMode::Failing;
unsigned char g_records[kDeviceInfoRecordSize] = {1, 2, 3};

constexpr unsigned kShortCopy = 3;
constexpr unsigned kOverclaim = 100;

bool Lazy() {
    return g_mode == OddMode::Lazy;
}

// Every mode but the lazy one fails the functions it does not misbehave in otherwise.
unsigned Other() {
    return Lazy() ? 0 : kOddStatus;
}

}  // namespace

extern "C" {

void KVT_TRANSPORT_CALL odd_SetMode(unsigned mode) {
    g_mode = static_cast<OddMode>(mode);
}

unsigned KVT_TRANSPORT_CALL k2pInitialize() {
    return g_mode == OddMode::Failing ? kOddStatus : 0;
}

unsigned KVT_TRANSPORT_CALL k2pTerminate() {
    return Other();
}

unsigned KVT_TRANSPORT_CALL k2pGetDeviceInfoArray(void** array, unsigned* count) {
    switch (g_mode) {
        case OddMode::BadArray:
            *array = reinterpret_cast<void*>(16);
            *count = 2;
            return 0;
        case OddMode::NullArray:
            *array = nullptr;
            *count = 1;
            return 0;
        case OddMode::HugeCount:
            *array = g_records;
            *count = 100000;
            return 0;
        default:
            return Other();
    }
}

unsigned KVT_TRANSPORT_CALL k2pConnectCamera(void*, unsigned*) {
    return Other();
}

unsigned KVT_TRANSPORT_CALL k2pClearRemoteEventProcedureParameter(unsigned) {
    return Other();
}

unsigned KVT_TRANSPORT_CALL k2pPushRemoteEventProcedureSendParameter(unsigned, unsigned, void*,
                                                                     unsigned) {
    return Other();
}

unsigned KVT_TRANSPORT_CALL k2pExecuteRemoteEventProcedure(unsigned, const char*, unsigned,
                                                           unsigned*) {
    return Other();
}

unsigned KVT_TRANSPORT_CALL k2pGetReturnDataSize(unsigned*) {
    return Other();
}

// Short data: three bytes of 0xAB, whatever the size asked.
unsigned KVT_TRANSPORT_CALL k2pGetReturnDataForExecuteRemoteEventProcedure(unsigned, void* buffer,
                                                                           unsigned size,
                                                                           unsigned* copied) {
    if (g_mode != OddMode::ShortData) {
        return Other();
    }
    const unsigned n = size < kShortCopy ? size : kShortCopy;
    std::memset(buffer, 0xAB, n);
    *copied = n;
    return 0;
}

unsigned KVT_TRANSPORT_CALL k2pGetSizeOfMemoryData(unsigned, const char*, unsigned*) {
    return Other();
}

// Claims more than the buffer holds: the buffer filled with 0xCD, and 100 bytes more.
unsigned KVT_TRANSPORT_CALL k2pExecuteGetMemoryData(unsigned, void* buffer, unsigned size,
                                                    unsigned* read) {
    if (g_mode != OddMode::ShortData) {
        return Other();
    }
    std::memset(buffer, 0xCD, size);
    *read = size + kOverclaim;
    return 0;
}

}  // extern "C"
