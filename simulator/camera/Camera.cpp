#include "simulator/camera/Camera.h"

namespace kvtsim {

Camera::Camera(unsigned i) : index(i) {
    for (std::uint16_t& w : eeprom) {
        w = 0xFFFF;  // erased
    }
    calendar.SetToHostTime();
    jpeg.size = 5u << 20;
    raw.size = 24u << 20;
    Bytes mode;
    PutLe32(mode, kToolModeNone);
    SetPublic(kPropToolMode, mode);
}

void Camera::SetPublic(std::uint32_t id, Bytes value) {
    SharedBytes shared = Share(std::move(value));
    Props(Space::Public).SetCurrent(id, shared);
    Props(Space::Public).SetSaved(id, shared);
}

}  // namespace kvtsim
