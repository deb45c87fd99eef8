// The eleven transport functions (declared in core/transport/TransportExports.h from
// the interface's types). While a recording is loaded, each answers from it (Replay.h)
// instead of the camera model.
#include <cstring>

#include "core/transport/TransportExports.h"
#include "simulator/camera/Procedures.h"
#include "simulator/camera/TransportCall.h"
#include "simulator/camera/TransportExecute.h"

using namespace kvtsim;

static_assert(kDeviceInfoRecordSize == kDeviceRecordBytes, "device record size");

namespace {
// Copies min(size, available) bytes; the count copied goes to *copied.
unsigned CopyOut(const SharedBytes& from, void* buffer, unsigned size, unsigned* copied) {
    std::size_t available = from ? from->size() : 0;
    std::size_t n = size < available ? size : available;
    if (n > 0) {
        std::memcpy(buffer, from->data(), n);
    }
    *copied = static_cast<unsigned>(n);
    return kOk;
}
}  // namespace

extern "C" {

unsigned KVT_TRANSPORT_CALL k2pInitialize() {
    return RunTransport("k2pInitialize", [&](TransportCall& call) -> unsigned {
        if (Replay* r = call.Replaying()) return r->Initialize(call.line);
        if (call.Faulted()) return call.Fault();
        if (call.world.startupFailed) return kStatusBadScenario;
        call.world.initialized = true;
        return kOk;
    });
}

// Safe at any time, also while the process shuts down: it only drops the
// connections; the camera model stays as it is.
unsigned KVT_TRANSPORT_CALL k2pTerminate() {
    return RunTransport("k2pTerminate", [&](TransportCall& call) -> unsigned {
        if (Replay* r = call.Replaying()) return r->Terminate(call.line);
        if (call.Faulted()) return call.Fault();
        World& w = call.world;
        w.initialized = false;
        for (Link& link : w.links) {
            link = Link();
        }
        w.pending.reset();
        return kOk;
    });
}

unsigned KVT_TRANSPORT_CALL k2pGetDeviceInfoArray(void** deviceInfoArray, unsigned* count) {
    return RunTransport("k2pGetDeviceInfoArray", [&](TransportCall& call) -> unsigned {
        if (Replay* r = call.Replaying()) {
            return r->GetDeviceInfoArray(call.line, deviceInfoArray, count);
        }
        if (call.Faulted()) return call.Fault();
        World& w = call.world;
        if (deviceInfoArray == nullptr || count == nullptr) return kStatusNullPointer;
        if (!w.initialized) return kStatusNotInitialized;
        w.RefreshRecords();
        *deviceInfoArray = w.Records();
        *count = static_cast<unsigned>(w.cameras.size());
        call.line.Add("count", static_cast<std::uint64_t>(*count));
        return kOk;
    });
}

// The record is found by its address in the array, or else by its content (a copy).
unsigned KVT_TRANSPORT_CALL k2pConnectCamera(void* deviceInfo, unsigned* hCamera) {
    return RunTransport("k2pConnectCamera", [&](TransportCall& call) -> unsigned {
        if (Replay* r = call.Replaying()) return r->ConnectCamera(call.line, deviceInfo, hCamera);
        if (call.Faulted()) return call.Fault();
        World& w = call.world;
        if (deviceInfo == nullptr || hCamera == nullptr) return kStatusNullPointer;
        if (!w.initialized) return kStatusNotInitialized;
        const std::uint8_t* record = static_cast<const std::uint8_t*>(deviceInfo);
        int index = -1;
        for (std::size_t i = 0; i < w.cameras.size() && index < 0; ++i) {
            const std::uint8_t* mine = w.Records() + i * kDeviceRecordBytes;
            if (record == mine) {
                index = static_cast<int>(i);
            }
        }
        for (std::size_t i = 0; i < w.cameras.size() && index < 0; ++i) {
            const std::uint8_t* mine = w.Records() + i * kDeviceRecordBytes;
            if (std::memcmp(record, mine, kDeviceRecordBytes) == 0) {
                index = static_cast<int>(i);
            }
        }
        if (index < 0) return kStatusBadArgument;
        w.links[index].connected = true;
        *hCamera = w.cameras[index]->Handle();
        call.line.Add("cam", static_cast<std::uint64_t>(index)).AddHex("h", *hCamera);
        return kOk;
    });
}

unsigned KVT_TRANSPORT_CALL k2pClearRemoteEventProcedureParameter(unsigned hCamera) {
    return RunTransport("k2pClearRemoteEventProcedureParameter",
                        [&](TransportCall& call) -> unsigned {
        if (Replay* r = call.Replaying()) return r->Clear(call.line, hCamera);
        int cam;
        unsigned st = call.CameraOf(hCamera, &cam);
        if (call.Faulted()) return call.Fault();
        if (st != kOk) return st;
        call.world.links[cam].params.clear();
        call.world.links[cam].paramBytes = 0;
        return kOk;
    });
}

unsigned KVT_TRANSPORT_CALL k2pPushRemoteEventProcedureSendParameter(unsigned hCamera,
                                                                     unsigned type, void* data,
                                                                     unsigned size) {
    return RunTransport("k2pPushRemoteEventProcedureSendParameter",
                        [&](TransportCall& call) -> unsigned {
        if (Replay* r = call.Replaying()) return r->Push(call.line, hCamera, type, data, size);
        int cam;
        unsigned st = call.CameraOf(hCamera, &cam);
        call.line.Add("type", type).Add("size", size);
        if (call.Faulted()) return call.Fault();
        if (st != kOk) return st;
        return PushParameter(call.world.links[cam], type, data, size);
    });
}

unsigned KVT_TRANSPORT_CALL k2pExecuteRemoteEventProcedure(unsigned hCamera, const char* name,
                                                           unsigned returnData,
                                                           unsigned* result) {
    return RunTransport("k2pExecuteRemoteEventProcedure", [&](TransportCall& call) -> unsigned {
        if (Replay* r = call.Replaying()) {
            return r->Execute(call.line, hCamera, name, returnData, result);
        }
        int cam;
        unsigned st = call.CameraOf(hCamera, &cam);
        call.line.AddName("proc", name).Add("flag", returnData);
        if (st == kOk) {
            call.line.Add("params", ParamsText(call.world.links[cam].params));
        }
        if (call.Faulted()) return call.Fault();
        if (st != kOk) return st;
        return ExecuteProcedure(call, cam, name, returnData, result);
    });
}

unsigned KVT_TRANSPORT_CALL k2pGetReturnDataSize(unsigned* size) {
    return RunTransport("k2pGetReturnDataSize", [&](TransportCall& call) -> unsigned {
        if (Replay* r = call.Replaying()) return r->GetReturnDataSize(call.line, size);
        if (call.Faulted()) return call.Fault();
        if (size == nullptr) return kStatusNullPointer;
        if (!call.world.initialized) return kStatusNotInitialized;
        *size = call.world.pending ? static_cast<unsigned>(call.world.pending->size()) : 0;
        call.line.Add("size", *size);
        return kOk;
    });
}

unsigned KVT_TRANSPORT_CALL k2pGetReturnDataForExecuteRemoteEventProcedure(unsigned hCamera,
                                                                           void* buffer,
                                                                           unsigned size,
                                                                           unsigned* copied) {
    return RunTransport("k2pGetReturnDataForExecuteRemoteEventProcedure",
                        [&](TransportCall& call) -> unsigned {
        if (Replay* r = call.Replaying()) {
            return r->GetReturnData(call.line, hCamera, buffer, size, copied);
        }
        int cam;
        unsigned st = call.CameraOf(hCamera, &cam);
        call.line.Add("size", size);
        if (call.Faulted()) return call.Fault();
        if (st != kOk) return st;
        if (copied == nullptr || (buffer == nullptr && size > 0)) return kStatusNullPointer;
        CopyOut(call.world.pending, buffer, size, copied);
        call.line.Add("copied", *copied);
        return kOk;
    });
}

unsigned KVT_TRANSPORT_CALL k2pGetSizeOfMemoryData(unsigned hCamera, const char* name,
                                                   unsigned* size) {
    return RunTransport("k2pGetSizeOfMemoryData", [&](TransportCall& call) -> unsigned {
        if (Replay* r = call.Replaying()) {
            return r->GetSizeOfMemoryData(call.line, hCamera, name, size);
        }
        int cam;
        unsigned st = call.CameraOf(hCamera, &cam);
        call.line.AddName("block", name);
        if (call.Faulted()) return call.Fault();
        if (st != kOk) return st;
        if (name == nullptr || size == nullptr) return kStatusNullPointer;
        if (strnlen(name, kMaxNameLength + 1) > kMaxNameLength) return kStatusSizeOutOfRange;
        Link& link = call.world.links[cam];
        const Camera& camera = *call.world.cameras[cam];
        SharedBytes block = transmem::Snapshot(camera, name);
        if (!block) {
            auto it = camera.memoryData.find(name);
            block = it == camera.memoryData.end() ? SharedBytes() : it->second;
        }
        link.blockSelected = block != nullptr;
        link.blockName = block ? name : "";
        link.block = block;
        if (!block) return kStatusNoMemoryData;
        *size = static_cast<unsigned>(block->size());
        call.line.Add("size", *size);
        return kOk;
    });
}

unsigned KVT_TRANSPORT_CALL k2pExecuteGetMemoryData(unsigned hCamera, void* buffer,
                                                    unsigned size, unsigned* read) {
    return RunTransport("k2pExecuteGetMemoryData", [&](TransportCall& call) -> unsigned {
        if (Replay* r = call.Replaying()) {
            return r->GetMemoryData(call.line, hCamera, buffer, size, read);
        }
        int cam;
        unsigned st = call.CameraOf(hCamera, &cam);
        call.line.Add("size", size);
        if (call.Faulted()) return call.Fault();
        if (st != kOk) return st;
        if (read == nullptr || (buffer == nullptr && size > 0)) return kStatusNullPointer;
        Link& link = call.world.links[cam];
        if (!link.blockSelected) return kStatusNoMemoryData;
        CopyOut(link.block, buffer, size, read);
        call.line.AddName("block", link.blockName.c_str()).Add("read", *read);
        return kOk;
    });
}

}  // extern "C"
