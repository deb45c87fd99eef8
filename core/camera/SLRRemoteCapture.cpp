#include "core/camera/SLRRemoteCapture.h"

#include <memory>
#include <new>

#include "common/Handles.h"
#include "common/LogFile.h"
#include "common/LogFrame.h"
#include "common/LogStream.h"
#include "common/Win32.h"

namespace {

kvtlog::LogStream s_log;

using kvtlog::ClassFrame;

// Release and Transfer raise code 1 whatever they catch; the capture's historical
// spelling of the Release name is kept for failures that are not a CException.
const ClassFrame kReleaseFrame{"CSLRRemoteCapture::Release", false, true,
                               ClassFrame::Other::Silent1, "CSLRRemtoeCapture::Release"};
const ClassFrame kTransferFrame{"CSLRRemoteCapture::Transfer", false, true,
                                ClassFrame::Other::Silent1};
const ClassFrame kReleaseAndTransferFrame{"CSLRRemoteCapture::ReleaseAndTransfer", true, true,
                                          ClassFrame::Other::Silent33};
const ClassFrame kTransferJpegFrame{"CSLRRemoteCapture::Impl::_TransferJpeg", true, true,
                                    ClassFrame::Other::Logged33};
const ClassFrame kTransferTrawFrame{"CSLRRemoteCapture::Impl::_TransferTraw", true, true,
                                    ClassFrame::Other::Logged33};
const ClassFrame kTrawPlusJpegFrame{"CSLRRemoteCapture::Impl::_TransferTrawPlusJpeg", true,
                                    true, ClassFrame::Other::Silent33};
const ClassFrame kJpegPlusTrawFrame{"CSLRRemoteCapture::Impl::_TransferJpegPlusTraw", true,
                                    true, ClassFrame::Other::Silent33};

// The receive buffer of the image fetches, kept from one fetch to the next. Every fresh
// page costs a fault on its first touch, and for a raw image of tens of megabytes those
// faults take longer than the copy and the file write together; a kept buffer is
// touched once per process. It grows (without copying) to the largest image fetched,
// is freed after a fetch when it exceeds kKeptImageBufferBytes, and goes at unload.
// Callers use the capture from one thread at a time.
class ImageBuffer {
public:
    static constexpr std::size_t kKeptImageBufferBytes = 64u * 1024 * 1024;

    // Room for `size` bytes; null when it cannot be allocated.
    unsigned char* Room(unsigned size) {
        if (_capacity < size) {
            _data.reset();   // free first: the old and the new block need not fit together
            _capacity = 0;
            _data.reset(new (std::nothrow) unsigned char[size]);
            if (!_data) {
                return nullptr;
            }
            _capacity = size;
        }
        return _data.get();
    }
    void Trim() {
        if (_capacity > kKeptImageBufferBytes) {
            _data.reset();
            _capacity = 0;
        }
    }

private:
    std::unique_ptr<unsigned char[]> _data;
    std::size_t _capacity = 0;
};

ImageBuffer s_imageBuffer;

// Cuts the path at its last dot, wherever it stands, and appends `extension`. A dot in
// a folder name counts too: "C:\Img.old\shot" becomes "C:\Img.jpg".
void ReplaceExtension(std::string& path, const char* extension) {
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos) {
        path.erase(dot);
    }
    path += extension;
}

// Creates (or replaces) the file and writes the bytes in one call.
void WriteImageFile(const std::string& path, const unsigned char* data, unsigned size) {
    kvt::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        kvt::Fail("[STDF] ofstream open error!", 1);
    }
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file.Get(), data, size, &written, nullptr);
    if (!ok || written != size) {
        const DWORD error = ::GetLastError();
        kvtlog::Stamp(s_log) << "[VALU] GetLastError - " << std::dec << error << '\n';
        kvtlog::CommitLog(s_log);
        kvt::Fail("[WAPI] WriteFile", 1);
    }
}

}  // namespace

class CSLRRemoteCapture::Impl : public CEventProcedure {
public:
    std::string _FullPath;
    bool _IsFinishRemoteRelease = false;
    unsigned _DataSize = 0;

    void _TransferJpeg() {
        kvtlog::RunInClassFrame(s_log, kTransferJpegFrame, [&] { _FetchImage(".jpg"); });
    }
    void _TransferTraw() {
        kvtlog::RunInClassFrame(s_log, kTransferTrawFrame, [&] { _FetchImage(".tr2"); });
    }
    void _TransferTrawPlusJpeg() {
        kvtlog::RunInClassFrame(s_log, kTrawPlusJpegFrame, [&] {
            _TransferTraw();
            _HoldNextImage();
            _TransferJpeg();
        });
    }
    void _TransferJpegPlusTraw() {
        kvtlog::RunInClassFrame(s_log, kJpegPlusTrawFrame, [&] {
            _TransferJpeg();
            _HoldNextImage();
            _TransferTraw();
        });
    }

private:
    // Fetches the image the camera holds into the receive buffer and writes it, in one
    // piece, to the target path with `extension`.
    void _FetchImage(const char* extension) {
        if (_IsFinishRemoteRelease) {
            kvt::Fail("[VALU] _IsFinishRemoteRelease", 35);
        }
        if (_DataSize == 0) {
            kvt::Fail("[VALU] _DataSize", 35);
        }
        if (_FullPath.empty()) {
            kvt::Fail("[VALU] _FullPath.length()", 35);
        }
        ReplaceExtension(_FullPath, extension);
        kvtlog::Stamp(s_log) << "[VALU] _FullPath - " << _FullPath << '\n';
        kvtlog::CommitLog(s_log);

        unsigned char* pImageData = s_imageBuffer.Room(_DataSize);
        if (pImageData == nullptr) {
            kvt::Fail("[VALU] pImageData", 5);
        }
        struct Trim {
            ~Trim() { s_imageBuffer.Trim(); }
        } trim;
        unsigned size = _DataSize;
        int result = 0;
        ClearParameters();
        GetReturnData(pImageData, &size, &result);
        WriteImageFile(_FullPath, pImageData, _DataSize);
    }

    // "FA_GetRemoteReleasePlusImage": the camera now holds the release's next image.
    void _HoldNextImage() {
        ClearParameters();
        unsigned size = 0;
        int result = 0;
        ExecuteAndGetSize("FA_GetRemoteReleasePlusImage", &size, &result);
        _DataSize = size;
    }
};

CException* CSLRRemoteCapture::_Construct() noexcept {
    return kvt::ReportFailure([&] { _pImpl = new Impl; });
}

CException* CSLRRemoteCapture::_Construct(const std::string& FullPath) noexcept {
    return kvt::ReportFailure([&] {
        std::unique_ptr<Impl> impl(new Impl);
        impl->_FullPath = FullPath;
        _pImpl = impl.release();
    });
}

CSLRRemoteCapture::~CSLRRemoteCapture() {
    if (_pImpl != nullptr && !_pImpl->_IsFinishRemoteRelease) {
        kvtlog::LogSwallowedFailure(s_log, _Terminate(), "CSLRRemoteCapture::~CSLRRemoteCapture");
    }
    delete _pImpl;
    _pImpl = nullptr;
}

CException* CSLRRemoteCapture::_SetFullPath(const std::string& FullPath) noexcept {
    return kvt::ReportFailure([&] { _pImpl->_FullPath = FullPath; });
}

CException* CSLRRemoteCapture::_GetFullPath(std::string& FullPath) const noexcept {
    return kvt::ReportFailure([&] { FullPath = _pImpl->_FullPath; });
}

CException* CSLRRemoteCapture::_Release() noexcept {
    return kvt::ReportFailure([&] {
        kvtlog::RunInClassFrame(s_log, kReleaseFrame, [&] {
            ClearParameters();
            unsigned size = 0;
            int result = 0;
            ExecuteAndGetSize("FA_RemoteRelease", &size, &result);
            _pImpl->_DataSize = size;
            _pImpl->_IsFinishRemoteRelease = false;
        });
    });
}

CException* CSLRRemoteCapture::_Transfer(const ImageFormatList& ImageFormat) noexcept {
    using namespace SLR_REMOTE_CAPTURE;
    return kvt::ReportFailure([&] {
        kvtlog::RunInClassFrame(s_log, kTransferFrame, [&] {
            if (ImageFormat.size() == 1) {
                switch (ImageFormat[0]) {
                case IMAGE_FORMAT_JPEG: _pImpl->_TransferJpeg(); return;
                case IMAGE_FORMAT_TRAW: _pImpl->_TransferTraw(); return;
                default: kvt::Fail("[VALU] ImageFormat[ 0 ]", 3);
                }
            }
            if (ImageFormat.size() == 2) {
                if (ImageFormat[0] == IMAGE_FORMAT_JPEG && ImageFormat[1] == IMAGE_FORMAT_TRAW) {
                    _pImpl->_TransferJpegPlusTraw();
                    return;
                }
                if (ImageFormat[0] == IMAGE_FORMAT_TRAW && ImageFormat[1] == IMAGE_FORMAT_JPEG) {
                    _pImpl->_TransferTrawPlusJpeg();
                    return;
                }
                kvt::Fail("[VALU] ImageFormat[ 0/1 ]", 3);
            }
            kvt::Fail("[VALU] ImageFormat.size()", 3);
        });
    });
}

CException* CSLRRemoteCapture::_ReleaseAndTransfer(const ImageFormatList& ImageFormat) noexcept {
    return kvt::ReportFailure([&] {
        kvtlog::RunInClassFrame(s_log, kReleaseAndTransferFrame, [&] {
            Release();
            Transfer(ImageFormat);
        });
    });
}

// Catches nothing: a failure passes as it is. The flag is set once the procedure ran,
// whatever its result, so that the destructor does not run it again; a transport
// failure leaves it clear.
CException* CSLRRemoteCapture::_Terminate() noexcept {
    return kvt::ReportFailure([&] {
        if (_pImpl->_IsFinishRemoteRelease) {
            return;
        }
        ClearParameters();
        PushParameterAsInteger(0, 2);
        int result = 0;
        Execute("FA_FinishRemoteRelease", &result);
        _pImpl->_IsFinishRemoteRelease = true;
        if (result != 0) {
            kvt::Fail("[EVNT] FA_FinishRemoteRelease",
                      static_cast<unsigned long>(static_cast<unsigned>(result)));
        }
    });
}
