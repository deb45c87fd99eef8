// The implementation object of CFilePath, shared by its source files. It is itself an
// open view of "SHARED_NAME_HANDLE" with its mutex.
#pragma once

#include <cstdint>
#include <string>

#include "common/FilePath.h"
#include "common/LogStream.h"
#include "common/SharedMemory.h"

class CFilePath::Impl : public CCommonModuleSharedMemory {
public:
    HMODULE _hCommonModule = nullptr;   // the common module, read from the block
    std::string _FullPath;              // the result of the last GetFullPath(FileName)
    std::string _BodyID;                // the 12-character body-number text
    std::uint32_t _BodyIDPart[5] = {};  // the body number in 2, 2, 1, 1 and 6 digits
};

namespace kvtpath {

// The log stream of CFilePath.
kvtlog::LogStream& Log();

// The longest path the class hands out: MAX_PATH less the terminating zero.
constexpr std::size_t kMaxPathLength = 260;

// Fails with "[VALU] FullPath.length()" (code 3) when `path` is longer than
// kMaxPathLength; returns it otherwise.
const std::string& CheckLength(const std::string& path);

// Creates one folder (not its parents) unless it exists. Nothing created: "[FUNC]
// boost::filesystem::create_directory" (code 1); a file-system error (missing parent,
// access denied, a file of that name) is thrown as std::filesystem::filesystem_error.
void CreateFolder(const std::string& path);

}  // namespace kvtpath
