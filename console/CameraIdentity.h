// Identification of the attached camera through the camera SDK (VXSDK, imported by
// ordinal): reports product name, body number, firmware and lens.
#pragma once

#include <cstddef>

namespace tavol {

constexpr std::size_t kProductNameSize = 32;
constexpr std::size_t kPropertyValueSize = 200;

enum class IdentifyResult {
    Identified,
    SdkStartFailed,  // nothing else was called
    NoCamera,        // the SDK was ended again
    SessionFailed,   // the SDK was ended again
};

struct CameraIdentity {
    // Zero-terminated, cut to fit (see ReadTextProperty).
    char productName[kProductNameSize] = {};
};

// Starts the SDK, opens the first camera's session, reports its four properties
// ("产品名：", "机身标号：", "固件版本：", "当前镜头："), and ends the SDK again.
IdentifyResult IdentifyCamera(CameraIdentity& identity);

}  // namespace tavol
