// GBK text (compiled with the GBK execution character set).
#include "console/CameraIdentity.h"

#include <cstdint>
#include <cstring>

#include "VxSdk.h"
#include "console/ResultText.h"
#include "console/TextCut.h"

namespace tavol {
namespace {

// Reads a text property into `buffer` with a terminating zero after the value. A
// value longer than capacity - 1 bytes is cut to fit (on a character boundary): only
// that many bytes are asked of the SDK, so the buffer is never overrun whatever size
// the SDK reports. The statuses are not looked at: a failed call leaves an empty text.
void ReadTextProperty(VxsRef camera, std::uint32_t property, char* buffer,
                      std::size_t capacity) {
    std::memset(buffer, 0, capacity);
    std::uint32_t dataType = 0;
    std::uint32_t size = 0;
    VxsValueSize(camera, property, 0, &dataType, &size);
    std::size_t n = size;
    if (n > capacity - 1) {
        n = capacity - 1;
        VxsValueRead(camera, property, 0, static_cast<std::uint32_t>(n), buffer);
        n = WholeCharacterLength(buffer, n);
    } else if (n > 0) {
        VxsValueRead(camera, property, 0, static_cast<std::uint32_t>(n), buffer);
    }
    buffer[n] = '\0';
}

void ReportProperties(VxsRef camera, CameraIdentity& identity) {
    ReadTextProperty(camera, VXS_PROP_PRODUCT_NAME, identity.productName, kProductNameSize);
    Report("产品名：%s\n", identity.productName);

    char value[kPropertyValueSize];
    ReadTextProperty(camera, VXS_PROP_BODY_NUMBER, value, sizeof(value));
    Report("机身标号：%s\n", value);
    ReadTextProperty(camera, VXS_PROP_FIRMWARE, value, sizeof(value));
    Report("固件版本：%s\n", value);
    ReadTextProperty(camera, VXS_PROP_LENS, value, sizeof(value));
    Report("当前镜头：%s\n", value);
}

}  // namespace

IdentifyResult IdentifyCamera(CameraIdentity& identity) {
    if (VxsBegin() != VXS_OK) {
        return IdentifyResult::SdkStartFailed;
    }
    VxsRef list = nullptr;
    std::uint32_t count = 0;
    if (VxsListCameras(&list) == VXS_OK) {
        VxsItemCount(list, &count);
    }
    if (count == 0) {
        if (list != nullptr) {
            VxsDropRef(list);
        }
        VxsFinish();
        return IdentifyResult::NoCamera;
    }
    VxsRef camera = nullptr;
    if (VxsItemAt(list, 0, &camera) != VXS_OK || VxsSessionOpen(camera) != VXS_OK) {
        if (camera != nullptr) {
            VxsDropRef(camera);
        }
        VxsDropRef(list);
        VxsFinish();
        return IdentifyResult::SessionFailed;
    }
    ReportProperties(camera, identity);
    // The session is closed after both references are released: this order relies on
    // the SDK keeping a camera with an open session alive.
    VxsDropRef(camera);
    VxsDropRef(list);
    VxsSessionClose(camera);
    VxsFinish();
    return IdentifyResult::Identified;
}

}  // namespace tavol
