#include "simulator/camera/TransportExecute.h"

#include <cstring>

#include "simulator/camera/Procedures.h"

namespace kvtsim {
namespace {
constexpr std::uint8_t kExtraByte = 0xCC;  // filler of forced oversized return data

bool IntSizeMatches(unsigned type, unsigned size) {
    return (type == kParamInt8 && size == 1) || (type == kParamInt16 && size == 2) ||
           (type == kParamInt32 && size == 4);
}
}  // namespace

unsigned PushParameter(Link& link, unsigned type, const void* data, unsigned size) {
    if (type != kParamInt8 && type != kParamInt16 && type != kParamInt32 && type != kParamBlock) {
        return kStatusBadArgument;
    }
    if (type != kParamBlock ? !IntSizeMatches(type, size) : size > kMaxParameterBytes) {
        return kStatusSizeOutOfRange;
    }
    if (data == nullptr && size > 0) {
        return kStatusNullPointer;
    }
    if (link.params.size() >= kMaxParameters || link.paramBytes + size > kMaxParameterBytes) {
        return kStatusTooManyParameters;
    }
    Param p;
    p.type = type;
    const std::uint8_t* bytes = static_cast<const std::uint8_t*>(data);
    p.data.assign(bytes, bytes + size);
    link.params.push_back(std::move(p));
    link.paramBytes += size;
    return kOk;
}

std::string ParamsText(const std::vector<Param>& params) {
    if (params.empty()) {
        return "-";
    }
    std::string text;
    for (const Param& p : params) {
        if (!text.empty()) {
            text += ',';
        }
        text += std::to_string(p.type);
        text += ':';
        text += HexOf(p.data);
    }
    return text;
}

unsigned ExecuteProcedure(TransportCall& call, int cam, const char* name, unsigned returnData,
                          unsigned* result) {
    World& w = call.world;
    if (name == nullptr || (result == nullptr && returnData == 0)) {
        return kStatusNullPointer;
    }
    if (strnlen(name, kMaxNameLength + 1) > kMaxNameLength) {
        return kStatusSizeOutOfRange;
    }
    if (returnData > 1) {
        return kStatusBadArgument;
    }
    if (returnData == 1) {
        w.pending.reset();  // no stale data after a failed run
    }
    Camera& camera = *w.cameras[cam];
    const ProcedureRow* row = FindProcedure(name);
    if (row == nullptr && camera.extraProcedures.count(name) == 0) {
        return kStatusUnknownProcedure;
    }
    Applied forced = camera.rules.Next(name);
    if (forced.hasStatus) {
        call.line.Add("forced", std::string("status"));
        return forced.status;
    }
    Outcome out;
    if (forced.hasResult) {
        out.result = forced.result;  // the camera refuses or answers without doing anything
    } else if (row != nullptr) {
        out = row->handler(camera, Args(w.links[cam].params), row->tag);
    }
    if (forced.hasData) {
        out.data = forced.data;
    }
    if (forced.extraBytes > 0) {
        auto longer = std::make_shared<Bytes>(out.data ? *out.data : Bytes());
        longer->resize(longer->size() + forced.extraBytes, kExtraByte);
        out.data = std::move(longer);
    }
    if (forced.hasResult || forced.hasData || forced.extraBytes > 0) {
        call.line.Add("forced", std::string(forced.hasResult ? "result" : "data"));
    }
    if (returnData == 1) {
        w.pending = out.data ? out.data : Share(Bytes());
    }
    if (result != nullptr) {
        *result = out.result;
    }
    call.line.AddHex("res", out.result);
    if (returnData == 1) {
        call.line.Add("ret", static_cast<std::uint64_t>(w.pending->size()));
    }
    return kOk;
}

}  // namespace kvtsim
