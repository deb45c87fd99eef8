// KVT_ReleaseAndTransfer, KVT_ReleaseAndTransferS and MVT_ReleaseAndTransfer. Each asks
// the camera which images its quality setting gives (property 0x8000002F, byte 2: 1
// JPEG, 6 raw, 7 raw and JPEG), releases, and writes the images to psFullPath with the
// extension replaced by ".tr2" / ".jpg". MVT_ReleaseAndTransfer sets bit 10 of the
// camera's fixed flag (public property 0) for the release and restores the flag
// afterwards, also when the release or the transfer fails.
//
// The capture object's Terminate runs explicitly before the object goes, so a failing
// "FA_FinishRemoteRelease" is reported with its code; on a failure on the way the
// destructor runs it and only logs its failure.
#include "include/kvt_factory.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "common/Exception.h"
#include "common/LogFrame.h"
#include "core/camera/SLRRemoteCapture.h"
#include "factory_api/ModuleState.h"
#include "factory_api/ReleaseFixedFlag.h"
#include "factory_api/ReleaseImageFormat.h"
#include "factory_api/ReleaseSlotFrame.h"

using namespace kvtq517;

namespace {

// The image files are named by cutting the path at its last dot and appending a
// four-character extension. A file name that could not be opened (longer than MAX_PATH
// with its zero) is refused before the camera shoots; "\\?\" paths may be longer.
constexpr std::size_t kMaxPathLength = 259;
constexpr std::size_t kExtensionLength = 4;   // ".jpg", ".tr2"

std::string RequirePath(const char* psFullPath) {
    if (psFullPath == nullptr) {
        kvt::Fail("[VALU] psFullPath", 3);
    }
    std::string path(psFullPath);
    if (path.compare(0, 4, "\\\\?\\") != 0) {
        const std::size_t dot = path.find_last_of('.');
        const std::size_t stem = dot == std::string::npos ? path.size() : dot;
        if (stem + kExtensionLength > kMaxPathLength) {
            kvt::Fail("[VALU] strlen(psFullPath)", 3);
        }
    }
    return path;
}

// The formats the camera's quality setting gives, raw first.
CSLRRemoteCapture::ImageFormatList SearchFormats() {
    bool IsContainTraw = false;
    bool IsContainJpeg = false;
    SearchImageFormat(&IsContainTraw, &IsContainJpeg);
    return ImageFormatsOf(IsContainTraw, IsContainJpeg);
}

void ReleaseAndTransferTo(const char* psFullPath) {
    const std::string path = RequirePath(psFullPath);
    const CSLRRemoteCapture::ImageFormatList formats = SearchFormats();
    CSLRRemoteCapture capture(path);
    capture.Release();
    capture.Transfer(formats);
    capture.Terminate();
}

void SetFixedFlagOrFail(std::uint32_t value) {
    const unsigned long result = _SetFixedFlag(&value);
    if ((result & 1) != 0) {
        kvt::Fail("[FUNC] _SetFixedFlag", result);
    }
}

}  // namespace

unsigned long __stdcall KVT_ReleaseAndTransfer(const char* psFullPath) {
    return kvtlog::RunFrame(ApiLog(), {"[KVTI] KVT_ReleaseAndTransfer"}, [&] {
        RequireDeviceOpened();
        ReleaseAndTransferTo(psFullPath);
    });
}

unsigned long __stdcall KVT_ReleaseAndTransferS(const char* psFullPath, unsigned long slot) {
    return RunSlotFrame({"[KVTI] KVT_ReleaseAndTransferS"}, [&] {
        RequireDeviceOpened();
        SelectCameraSlot(slot);
        ReleaseAndTransferTo(psFullPath);
    });
}

// The flag gets bit 10 for the release and its saved value back afterwards. Should the
// release or the transfer fail, the saved value is written back after the failure
// lines as well, so that the camera is not left with bit 10 set.
unsigned long __stdcall MVT_ReleaseAndTransfer(const char* psFullPath) {
    std::uint32_t saved = 0;
    bool restorePending = false;
    return RunFrameWithAfterStep(
        {"[KVTI] MVT_ReleaseAndTransfer"},
        [&] {
            RequireDeviceOpened();
            const std::string path = RequirePath(psFullPath);
            const unsigned long got = _GetFixedFlag(&saved);
            if ((got & 1) != 0) {
                kvt::Fail("[FUNC] _GetFixedFlag", got);
            }
            SetFixedFlagOrFail(saved | kFixedFlagReleaseBit);
            restorePending = true;
            const CSLRRemoteCapture::ImageFormatList formats = SearchFormats();
            CSLRRemoteCapture capture(path);
            capture.Release();
            capture.Transfer(formats);
            restorePending = false;
            SetFixedFlagOrFail(saved);
            capture.Terminate();
        },
        [&] {
            if (restorePending) {
                restorePending = false;
                SetFixedFlagOrFail(saved);
            }
        });
}
