#include "common/FilePath.h"

#include <filesystem>
#include <iomanip>
#include <memory>
#include <sstream>

#include "common/FilePathImpl.h"
#include "common/LogFrame.h"

namespace kvtpath {

kvtlog::LogStream& Log() {
    static kvtlog::LogStream s_log;
    return s_log;
}

const std::string& CheckLength(const std::string& path) {
    if (path.size() > kMaxPathLength) {
        kvt::Fail("[VALU] FullPath.length()", 3);
    }
    return path;
}

namespace {

// Paths are narrow strings in the process's code page; the file system gets them as
// UTF-16 converted from that code page (never as UTF-8).
std::filesystem::path ToFileSystemPath(const std::string& path) {
    if (path.empty()) {
        return std::filesystem::path();
    }
    const int n = ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()),
                                        nullptr, 0);
    if (n <= 0) {
        kvt::Fail("[WAPI] MultiByteToWideChar", 1);
    }
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0], n);
    return std::filesystem::path(wide);
}

}  // namespace

void CreateFolder(const std::string& path) {
    const std::filesystem::path folder = ToFileSystemPath(path);
    if (std::filesystem::is_directory(folder)) {
        return;
    }
    if (!std::filesystem::create_directory(folder)) {
        kvt::Fail("[FUNC] boost::filesystem::create_directory", 1);
    }
}

namespace {

// Absolute means a root name (drive and colon, or a network server) AND a root
// directory: "\X" and "D:X" are relative.
bool IsAbsolute(const std::string& path) {
    const std::filesystem::path p = ToFileSystemPath(path);
    return p.has_root_name() && p.has_root_directory();
}

// The last backslash of a path in the process's code page. A trail byte of a
// double-byte character may have the value of a backslash and is skipped.
std::size_t LastBackslash(const std::string& path) {
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            ++i;
        } else if (path[i] == '\\') {
            last = i;
        }
    }
    return last;
}

// The module's full file name; `failure` (code 1) when the system gives none or only
// a cut one.
std::string ModuleFileName(HMODULE module, const char* failure) {
    char name[kMaxPathLength + 1] = {};
    const DWORD n = ::GetModuleFileNameA(module, name, sizeof(name));
    if (n == 0 || n >= sizeof(name)) {
        kvt::Fail(failure, 1);
    }
    return std::string(name, n);
}

// The block holds the handle of whichever process loaded Corvane last, and a handle
// means something only in its own process: where Corvane sits at another address here
// (a relocated load, a colliding base), the word names no module or a wrong one. A
// process that has Corvane loaded therefore takes its own; an empty block stays empty.
HMODULE ReadCommonModule(CSharedMemory& block) {
    std::uint32_t word = 0;
    {
        kvt::BlockAccess access(block);
        access.Read(word);
    }
    if (word == 0) {
        return nullptr;
    }
    HMODULE own = ::GetModuleHandleA("Corvane.dll");
    return own != nullptr ? own : kvt::WordToModuleHandle(word);
}

// The folder of the common module, with its backslash ("" for a name without one).
std::string CommonFolder(HMODULE module) {
    if (module == nullptr) {
        kvt::Fail("[VALU] _pImpl->_hCommonModule", 35);
    }
    const std::string name = ModuleFileName(module, "[WAPI] GetModuleFileName");
    const std::size_t last = LastBackslash(name);
    return last == std::string::npos ? std::string() : name.substr(0, last + 1);
}

// The common folder and "_Q<low 16 bits of the model identifier in hex>_\".
std::string ModelFolder(HMODULE module) {
    CModelIDSharedMemory modelBlock;
    std::string folder = CommonFolder(module);
    std::uint32_t modelID = 0;
    {
        kvt::BlockAccess access(modelBlock);
        access.Read(modelID);
    }
    if (modelID == 0) {
        kvt::Fail("[VALU] ModelID", 35);
    }
    std::ostringstream name;
    name << "_Q" << std::hex << std::nouppercase << (modelID & 0xFFFFu) << "_\\";
    return CheckLength(folder + name.str());
}

// The getters log a caught failure without commit and raise anything else silently
// with code 1; the Create members commit and log anything else as code 33.
kvtlog::ClassFrame GetterFrame(const char* name) {
    return {name, true, false, kvtlog::ClassFrame::Other::Silent1};
}
kvtlog::ClassFrame CreatorFrame(const char* name) {
    return {name, true, true, kvtlog::ClassFrame::Other::Logged33};
}

// Runs a member's body in its class frame and hands the failure back; `out` stays
// empty on failure.
template <class Body>
CException* Report(std::string& out, const kvtlog::ClassFrame& frame, Body&& body) noexcept {
    out.clear();
    return kvt::ReportFailure([&] { out = kvtlog::RunInClassFrame(Log(), frame, body); });
}

// The model folder followed by `folder` and `name`, in the getter frame of `member`.
CException* BelowModelFolder(CFilePath& path, const char* member, const char* folder,
                             std::string& out, const std::string& name = std::string()) noexcept {
    return Report(out, GetterFrame(member),
                  [&] { return CheckLength(path.GetCommonFullPath() + folder + name); });
}

// Creates the model folder followed by `name` and `suffix`, in the frame of `member`.
CException* CreateBelowModelFolder(CFilePath& path, const char* member, const std::string& name,
                                   const char* suffix, std::string& out) noexcept {
    return Report(out, CreatorFrame(member), [&] {
        const std::string folder = CheckLength(path.GetCommonFullPath() + name + suffix);
        CreateFolder(folder);
        return folder;
    });
}

}  // namespace
}  // namespace kvtpath

using kvtpath::CheckLength;
using kvtpath::CreatorFrame;
using kvtpath::GetterFrame;
using kvtpath::Report;

CException* CFilePath::_Construct() noexcept {
    return kvt::ReportFailure([&] {
        std::unique_ptr<Impl> impl(new Impl);
        impl->_hCommonModule = kvtpath::ReadCommonModule(*impl);
        if (impl->_hCommonModule == nullptr) {
            kvt::Fail("[VALU] _pImpl->_hCommonModule", 35);
        }
        _pImpl = impl.release();
    });
}

CFilePath::~CFilePath() {
    delete _pImpl;
}

// Never fails: every failure leaves the last full path empty and returns "".
std::string CFilePath::GetFullPath(const std::string& FileName) {
    try {
        _pImpl->_FullPath.clear();
        if (FileName.empty()) {
            kvt::Fail("[VALU] FileName.size()", 3);
        }
        _pImpl->_hCommonModule = kvtpath::ReadCommonModule(*_pImpl);
        if (_pImpl->_hCommonModule == nullptr) {
            kvt::Fail("[VALU] _pImpl->_hCommonModule", 35);
        }
        const std::string name =
            kvtpath::ModuleFileName(_pImpl->_hCommonModule, "[FUNC] GetModuleFullPath");
        const std::size_t last = kvtpath::LastBackslash(name);
        if (last == std::string::npos) {
            kvt::Fail("[VALU] pFileName", 1);
        }
        _pImpl->_FullPath = CheckLength(name.substr(0, last + 1) + FileName);
        return _pImpl->_FullPath;
    } catch (CException* e) {
        delete e;
    } catch (...) {
    }
    _pImpl->_FullPath.clear();
    return std::string();
}

std::string CFilePath::GetFullPath() const {
    return _pImpl->_FullPath;
}

CException* CFilePath::_GetParserFullPath(std::string& out) noexcept {
    return Report(out, GetterFrame("CFilePath::GetParserFullPath"), [&] {
        return CheckLength(kvtpath::CommonFolder(_pImpl->_hCommonModule));
    });
}

CException* CFilePath::_GetCommonFullPath(std::string& out) noexcept {
    return Report(out, GetterFrame("CFilePath::GetCommonFullPath"),
                  [&] { return kvtpath::ModelFolder(_pImpl->_hCommonModule); });
}

CException* CFilePath::_GetPropertyFullPath(std::string& out) noexcept {
    return kvtpath::BelowModelFolder(*this, "CFilePath::GetPropertyFullPath", "Property\\", out);
}

// The same frame as GetPropertyFullPath(): its failures are that member's.
CException* CFilePath::_GetPropertyFullPathOf(const std::string& FileName,
                                              std::string& out) noexcept {
    return kvtpath::BelowModelFolder(*this, "CFilePath::GetPropertyFullPath", "Property\\", out,
                                     FileName);
}

CException* CFilePath::_GetPlugInFullPath(std::string& out) noexcept {
    return kvtpath::BelowModelFolder(*this, "CFilePath::GetPlugInFullPath", "PlugIn\\", out);
}

CException* CFilePath::_GetCompilerFullPath(std::string& out) noexcept {
    return kvtpath::BelowModelFolder(*this, "CFilePath::GetCompilerFullPath", "Compiler\\", out);
}

CException* CFilePath::_GetCompilerFullPathOf(const std::string& FileName,
                                              std::string& out) noexcept {
    return kvtpath::BelowModelFolder(*this, "CFilePath::GetCompilerFullPath", "Compiler\\", out,
                                     FileName);
}

CException* CFilePath::_CreateCommonDirectory(const std::string& DirectoryName,
                                              std::string& out) noexcept {
    return kvtpath::CreateBelowModelFolder(*this, "CFilePath::CreateCommonDirectory",
                                           DirectoryName, "\\", out);
}

CException* CFilePath::_CreateDebugDataDirectory(std::string& out) noexcept {
    return kvtpath::CreateBelowModelFolder(*this, "CFilePath::CreateDebugDataDirectory",
                                           std::string(), "_DebugData\\", out);
}

CException* CFilePath::_CreateDirectory(const std::string& DirectoryName,
                                        std::string& out) noexcept {
    return Report(out, CreatorFrame("CFilePath::CreateDirectory"), [&] {
        if (DirectoryName.empty()) {
            kvt::Fail("[VALU] DirectoryName.length()", 3);
        }
        if (_pImpl->_hCommonModule == nullptr) {
            kvt::Fail("[VALU] _pImpl->_hCommonModule", 35);
        }
        const std::string path = CheckLength(
            kvtpath::IsAbsolute(DirectoryName)
                ? DirectoryName
                : kvtpath::CommonFolder(_pImpl->_hCommonModule) + DirectoryName);
        kvtpath::CreateFolder(path);
        return path;
    });
}
