#include "simulator/camera/DeviceRecord.h"

#include <cstring>
#include <string>

#include "simulator/camera/Status.h"

namespace kvtsim {
namespace {
void PutText(std::uint8_t* at, std::size_t room, const std::string& text) {
    std::size_t n = text.size() < room - 1 ? text.size() : room - 1;
    std::memcpy(at, text.data(), n);
}
void Put16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* at, std::uint32_t v) {
    Put16(at, static_cast<std::uint16_t>(v));
    Put16(at + 2, static_cast<std::uint16_t>(v >> 16));
}
}  // namespace

std::uint64_t BodyNumberOf(const Camera& camera) {
    SharedBytes id = camera.Props(Space::Public).Current(kPropBodyId);
    if (!id || id->size() < 8) {
        return 0;
    }
    return (static_cast<std::uint64_t>(GetLe32(id->data())) << 32) | GetLe32(id->data() + 4);
}

void FillDeviceRecord(const Camera& camera, std::uint8_t* record) {
    std::memset(record, 0, kDeviceRecordBytes);
    std::string serial = std::to_string(BodyNumberOf(camera));
    Put32(record + 0, kDeviceRecordBytes);
    Put32(record + 4, camera.index);
    Put16(record + 8, 0x7A11);
    Put16(record + 10, 0x0517);
    Put32(record + 12, 6);
    PutText(record + 16, 256,
            "\\\\?\\usb#vid_7a11&pid_0517#" + serial + "#" + std::to_string(camera.index));
    PutText(record + 272, 128, camera.name);
    PutText(record + 400, 64, "Tavol");
    PutText(record + 464, 32, serial);
}

}  // namespace kvtsim
