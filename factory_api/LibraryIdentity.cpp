#include "factory_api/LibraryIdentity.h"

#include <iomanip>

#include "common/Exception.h"
#include "common/Handles.h"
#include "common/SharedMemory.h"
#include "common/Win32.h"

namespace kvtq517 {
namespace {
constexpr std::size_t kMaxPathText = 260;
}

std::uint32_t ReadPublishedModelID(kvtlog::LogStream& log) {
    std::uint32_t modelID = 0;
    {
        CModelIDSharedMemory block;
        kvt::BlockAccess access(block);
        access.Read(modelID);
    }
    kvtlog::Stamp(log) << "[VALU] ModelID - 0x" << std::hex << std::setw(8) << std::setfill('0')
                       << modelID << std::dec << std::setfill(' ') << '\n';
    if (modelID == 0) {
        kvt::Fail("[VALU] ModelID", 35);
    }
    return modelID;
}

std::string ReadLibraryFilePath() {
    std::uint32_t word = 0;
    {
        CParserHandleSharedMemory block;
        kvt::BlockAccess access(block);
        access.Read(word);
    }
    if (word == 0) {
        kvt::Fail("[VALU] hParser", 35);
    }
    char fileName[kMaxPathText + 1] = {};
    const DWORD n = ::GetModuleFileNameA(kvt::WordToModuleHandle(word), fileName,
                                         static_cast<DWORD>(sizeof(fileName)));
    if (n == 0 || n >= sizeof(fileName)) {
        kvt::Fail("[WAPI] GetModuleFileName", 1);
    }
    std::string path(fileName, n);
    if (path.find('\\') == std::string::npos) {
        kvt::Fail("[VALU] pszFileName", 1);
    }
    return path;
}

std::string JoinWithinMaxPath(const std::string& folder, const std::string& name) {
    if (folder.size() + name.size() > kMaxPathText) {
        kvt::Fail("[SYSF] strcpy_s", 1);
    }
    return folder + name;
}

}  // namespace kvtq517
