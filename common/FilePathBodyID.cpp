// The per-body debug folders: <debug-data folder><main>\<body number>\<sub>\.
//
// The body number comes from "SHARED_NAME_BODYID" or, while that holds 0, from the
// camera's property PROP_BODY_ID (two 32-bit words, the high half first); what the
// camera gave is then cached in the block for every module and process. The factory
// API library empties the block at load and on every device open.
#include "common/FilePath.h"

#include <cstdint>
#include <iomanip>
#include <sstream>

#include "common/FilePathImpl.h"
#include "common/LogFile.h"
#include "common/LogFrame.h"
#include "core/camera/Property.h"

namespace {

constexpr unsigned kPropBodyID = 0x01000006;
constexpr unsigned kBodyIDBytes = 8;

// A caught failure is logged, committed and raised under the member's name with code
// 1; anything else is logged as unexpected and raised with code 33.
const kvtlog::ClassFrame kIndividualFrame{"CFilePath::CreateIndividualDirectory", false, true,
                                          kvtlog::ClassFrame::Other::Logged33};
const kvtlog::ClassFrame kBodyIDFrame{"CFilePath::_GetBodyID", false, true,
                                      kvtlog::ClassFrame::Other::Logged33};

// 0 when the block holds nothing yet (or could not be opened).
std::uint64_t CachedBodyNumber(CBodyIDSharedMemory& block) {
    std::uint64_t number = 0;
    kvt::BlockAccess access(block);
    access.Read(number);
    return number;
}

void CacheBodyNumber(CBodyIDSharedMemory& block, std::uint64_t number) {
    kvt::BlockAccess access(block);
    access.Write(number);
}

// A reply shorter than the two words would cache a wrong number for every process,
// so it is refused.
std::uint64_t CameraBodyNumber(CPublicProperty& property) {
    std::uint32_t words[2] = {};
    unsigned size = kBodyIDBytes;
    property.Get(kPropBodyID, size, words);
    if (size != kBodyIDBytes) {
        kvtlog::Stamp(kvtpath::Log()) << "[VALU] PropertyDataSize - " << std::dec << size << '\n';
        kvtlog::CommitLog(kvtpath::Log());
        kvt::Fail("[VALU] PropertyDataSize", 35);
    }
    return (std::uint64_t{words[0]} << 32) | words[1];
}

// The decimal digit groups 2, 2, 1, 1 and 6 (the first takes every digit above ten).
void SplitBodyNumber(std::uint64_t number, std::uint32_t (&part)[5]) {
    const std::uint64_t rest = number % 10000000000ull;
    part[0] = static_cast<std::uint32_t>(number / 10000000000ull);
    part[1] = static_cast<std::uint32_t>(rest / 100000000ull);
    part[2] = static_cast<std::uint32_t>(rest / 10000000ull % 10);
    part[3] = static_cast<std::uint32_t>(rest / 1000000ull % 10);
    part[4] = static_cast<std::uint32_t>(rest % 1000000ull);
}

// The number zero-padded to 12 digits; a longer one keeps its first 12.
std::string BodyIDText(const std::uint32_t (&part)[5]) {
    std::ostringstream text;
    text << std::dec << std::setfill('0') << std::setw(2) << part[0] << std::setw(2) << part[1]
         << std::setw(1) << part[2] << std::setw(1) << part[3] << std::setw(6) << part[4];
    return text.str().substr(0, 12);
}

}  // namespace

CException* CFilePath::_CreateIndividualDirectory(const std::string& DirectoryNameMain,
                                                  const std::string& DirectoryNameSub,
                                                  std::string& out) noexcept {
    out.clear();
    return kvt::ReportFailure([&] {
        out = kvtlog::RunInClassFrame(kvtpath::Log(), kIndividualFrame, [&] {
            if (DirectoryNameMain.empty()) {
                kvt::Fail("[VALU] DirectoryNameMain.length()", 3);
            }
            if (DirectoryNameSub.empty()) {
                kvt::Fail("[VALU] DirectoryNameSub.length()", 3);
            }
            // Folders made before a later level fails stay.
            std::string path = kvtpath::CheckLength(CreateDebugDataDirectory() +
                                                    DirectoryNameMain + "\\");
            kvtpath::CreateFolder(path);
            path = kvtpath::CheckLength(path + _GetBodyID() + "\\");
            kvtpath::CreateFolder(path);
            path = kvtpath::CheckLength(path + DirectoryNameSub + "\\");
            kvtpath::CreateFolder(path);
            kvtlog::CommitLog(kvtpath::Log());
            return path;
        });
    });
}

// The block is opened for the call only; the camera is read outside its mutex.
std::string CFilePath::_GetBodyID() {
    return kvtlog::RunInClassFrame(kvtpath::Log(), kBodyIDFrame, [&] {
        CBodyIDSharedMemory block;
        CPublicProperty property;
        std::uint64_t number = CachedBodyNumber(block);
        if (number == 0) {
            number = CameraBodyNumber(property);
            CacheBodyNumber(block, number);
        }
        SplitBodyNumber(number, _pImpl->_BodyIDPart);
        _pImpl->_BodyID = BodyIDText(_pImpl->_BodyIDPart);
        kvtlog::Stamp(kvtpath::Log()) << "[VALU] _BodyID - " << _pImpl->_BodyID << '\n';
        kvtlog::CommitLog(kvtpath::Log());
        return _pImpl->_BodyID;
    });
}
