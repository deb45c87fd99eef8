// Who and where this library is, as the load sequence published it: the model
// identifier in "SHARED_NAME_MODELID" and the library's module handle in
// "SHARED_NAME_PARSER_HANDLE". Each call opens the block by name for its one read.
#pragma once

#include <cstdint>
#include <string>

#include "common/LogStream.h"

namespace kvtq517 {

// Reads the model identifier and writes "[VALU] ModelID - 0x%08x" to `log`.
// 0 (or no block) fails with "[VALU] ModelID" (35).
std::uint32_t ReadPublishedModelID(kvtlog::LogStream& log);

// The library's full file name through the published handle: 0 fails with
// "[VALU] hParser" (35); no file name, or one longer than 260 characters, with
// "[WAPI] GetModuleFileName" (1); a name without a backslash with "[VALU] pszFileName" (1).
std::string ReadLibraryFilePath();

// `folder` (ending in a backslash) joined with `name`; longer than 260 characters
// fails with "[SYSF] strcpy_s" (1).
std::string JoinWithinMaxPath(const std::string& folder, const std::string& name);

}  // namespace kvtq517
