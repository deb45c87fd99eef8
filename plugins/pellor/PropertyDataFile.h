// The data files of the adjustment properties: one file per property, named by its
// identifier as eight lower-case hexadecimal digits and ".bin", holding the raw bytes.
#pragma once

#include <cstdint>
#include <string>

namespace pellor {

// The longest path a data file may have: a MAX_PATH buffer less its terminating zero.
constexpr std::size_t kMaxDataFilePath = 259;

// "01010022.bin" for 0x01010022, "1f000009.bin" for 0x1F000009.
std::string PropertyDataFileName(std::uint32_t id);

// The folder the data files go to: the FOLDER text up to and including its last
// backslash (D:\Adjust\ and D:\Adjust\Data both give D:\Adjust\). A text without a
// backslash fails with "[VALU] pszFileName" (1).
std::string PropertyDataFolder(const std::string& folderText);

// Creates or empties the file and writes `size` bytes in one write, shared for reading
// and writing. Failures: "[STDF] _sopen_s" (7), "[STDF] _write" (1), "[STDF] _close" (1);
// the file is closed on every path.
void WritePropertyDataFile(const std::string& path, const unsigned char* data,
                           std::uint32_t size);

}  // namespace pellor
