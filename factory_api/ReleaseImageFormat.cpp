#include "factory_api/ReleaseImageFormat.h"

#include <cstdint>

#include "common/Exception.h"
#include "common/LogFrame.h"
#include "core/camera/Property.h"
#include "factory_api/ModuleState.h"

namespace kvtq517 {
namespace {

constexpr unsigned kPackedWordProperty = 0x8000002F;

const kvtlog::ClassFrame kSearchFrame{"SearchImageFormat", true, true,
                                      kvtlog::ClassFrame::Other::Logged33};

const char* TrueFalse(bool value) {
    return value ? "true" : "false";
}

}  // namespace

void SearchImageFormat(bool* IsContainTraw, bool* IsContainJpeg) {
    kvtlog::LogStream& log = ApiLog();
    kvtlog::Line(log, "[----]");
    kvtlog::Line(log, "[FUNC] SearchImageFormat");
    kvtlog::CommitLog(log);
    kvtlog::RunInClassFrame(log, kSearchFrame, [&] {
        if (IsContainTraw == nullptr || IsContainJpeg == nullptr) {
            kvt::Fail("[VALU] IsContainTraw", 3);
        }
        CPublicProperty property;
        std::uint32_t packed = 0;
        property.Get(kPackedWordProperty, 4u, &packed);
        const unsigned quality = (packed >> 16) & 0xFFu;
        switch (quality) {
        case 1: *IsContainTraw = false; *IsContainJpeg = true; break;
        case 6: *IsContainTraw = true; *IsContainJpeg = false; break;
        case 7: *IsContainTraw = true; *IsContainJpeg = true; break;
        default:
            *IsContainTraw = false;
            *IsContainJpeg = false;
            kvt::Fail("[VALU] ImageFormat", 35);
        }
        kvtlog::Stamp(log) << "[VALU] IsContainTraw - " << TrueFalse(*IsContainTraw) << '\n';
        kvtlog::Stamp(log) << "[VALU] IsContainJpeg - " << TrueFalse(*IsContainJpeg) << '\n';
    });
    kvtlog::Line(log, "[FUNC] SearchImageFormat - 0");
    kvtlog::CommitLog(log);
}

CSLRRemoteCapture::ImageFormatList ImageFormatsOf(bool IsContainTraw, bool IsContainJpeg) {
    CSLRRemoteCapture::ImageFormatList formats;
    if (IsContainTraw) {
        formats.push_back(SLR_REMOTE_CAPTURE::IMAGE_FORMAT_TRAW);
    }
    if (IsContainJpeg) {
        formats.push_back(SLR_REMOTE_CAPTURE::IMAGE_FORMAT_JPEG);
    }
    return formats;
}

}  // namespace kvtq517
