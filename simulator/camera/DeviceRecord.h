// The opaque 1,106-byte device record of one attached camera, laid out like a USB
// device description:
//   0  u32 record size (1106)      4  u32 camera index
//   8  u16 vendor id 0x7A11       10  u16 product id 0x0517
//  12  u32 interface class 6 (still image)
//  16  char[256] device path "\\?\usb#vid_7a11&pid_0517#<body number>#<index>"
// 272  char[128] friendly name    400  char[64] manufacturer "Tavol"
// 464  char[32]  serial number (the body number in decimal); the rest is zero.
#pragma once

#include <cstdint>

#include "simulator/camera/Camera.h"

namespace kvtsim {

void FillDeviceRecord(const Camera& camera, std::uint8_t* record);

// The body number held in the camera's body-id property (high word first), 0 if none.
std::uint64_t BodyNumberOf(const Camera& camera);

}  // namespace kvtsim
