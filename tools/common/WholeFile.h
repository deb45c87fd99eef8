// Whole-file reads and writes of the build tools, in binary mode (no line-end
// translation). Plain standard C++: verck is also compiled for the build machine.
#pragma once

#include <string>

namespace kvttools {

// Replaces `bytes` with the file's content; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Creates or truncates the file and writes `bytes`; false when any step fails.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace kvttools
