// CSLRRemoteCapture: remote release and image transfer. Release makes the camera shoot
// and hold the first image as return data; Transfer fetches the held images in the
// formats asked for and writes each to the target path with the format's extension
// (".jpg", ".tr2"); Terminate runs "FA_FinishRemoteRelease", once per object.
//
// Typical use: construct with the target path, Release, Transfer, Terminate, let go.
//
// Extension: each transfer cuts the target path at its last dot and appends the
// format's extension, in place. The last dot of the whole path counts, also when it
// stands in a folder name: "C:\Img.old\shot" gives "C:\Img.jpg".
//
// Images move once: one fetch into a receive buffer of at least the size the camera
// reports, one write to the file. The receive buffer is kept for the next fetch (fresh
// pages are slow to touch; up to 64 MB stay allocated until Corvane unloads). A failed
// write is reported ("[WAPI] WriteFile", 1).
//
// Members that can fail come in two halves (see common/ModuleBoundary.h). Copying is
// refused: a copy would share, and free a second time, the implementation object.
//
// The destructor never throws: if Terminate has not run, it runs it and logs a failure
// instead of raising it. Callers that must see that failure call Terminate first.
#pragma once

#include <string>
#include <vector>

#include "common/Exception.h"
#include "common/ExportMacros.h"
#include "common/ModuleBoundary.h"
#include "core/camera/EventProcedure.h"

namespace SLR_REMOTE_CAPTURE {

enum tagIMAGE_FORMAT_T : unsigned {
    IMAGE_FORMAT_JPEG = 0,   // ".jpg"
    IMAGE_FORMAT_TRAW = 1,   // ".tr2", the camera's raw format
};

}  // namespace SLR_REMOTE_CAPTURE

class CORVANE_API CSLRRemoteCapture : public CEventProcedure {
public:
    using ImageFormatList = std::vector<SLR_REMOTE_CAPTURE::tagIMAGE_FORMAT_T>;

    CSLRRemoteCapture() : _pImpl(nullptr) { kvt::RaiseReported(_Construct()); }
    explicit CSLRRemoteCapture(const std::string& FullPath) : _pImpl(nullptr) {
        kvt::RaiseReported(_Construct(FullPath));
    }
    // Runs Terminate unless it ran; a failure there is logged, never raised.
    virtual ~CSLRRemoteCapture();

    CSLRRemoteCapture(const CSLRRemoteCapture&) = delete;
    CSLRRemoteCapture& operator=(const CSLRRemoteCapture&) = delete;

    void SetFullPath(const std::string& FullPath) { kvt::RaiseReported(_SetFullPath(FullPath)); }
    // The target path as the last transfer left it (with that format's extension).
    std::string GetFullPath() const {
        std::string path;
        kvt::RaiseReported(_GetFullPath(path));
        return path;
    }

    // "FA_RemoteRelease": shoots; the camera holds the first image.
    void Release() { kvt::RaiseReported(_Release()); }
    // One format, or two in the order the camera delivers them: (0, 1) or (1, 0).
    void Transfer(const ImageFormatList& ImageFormat) {
        kvt::RaiseReported(_Transfer(ImageFormat));
    }
    void ReleaseAndTransfer(const ImageFormatList& ImageFormat) {
        kvt::RaiseReported(_ReleaseAndTransfer(ImageFormat));
    }
    // "FA_FinishRemoteRelease" unless it ran for this object since the last Release;
    // a nonzero result fails with "[EVNT] FA_FinishRemoteRelease" and that result.
    void Terminate() { kvt::RaiseReported(_Terminate()); }

    // The exported halves: each returns its failure instead of raising it.
    CException* _Construct() noexcept;
    CException* _Construct(const std::string& FullPath) noexcept;
    CException* _SetFullPath(const std::string& FullPath) noexcept;
    CException* _GetFullPath(std::string& FullPath) const noexcept;
    CException* _Release() noexcept;
    CException* _Transfer(const ImageFormatList& ImageFormat) noexcept;
    CException* _ReleaseAndTransfer(const ImageFormatList& ImageFormat) noexcept;
    CException* _Terminate() noexcept;

private:
    class Impl;
    Impl* _pImpl;
};
