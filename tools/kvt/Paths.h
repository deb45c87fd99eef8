// Paths handed to the factory API: absolute (the library may resolve them from
// another folder than the user meant), within its 260 characters, checked before
// anything is sent to the camera.
#pragma once

#include <cstdint>
#include <string>

#include "common/Win32.h"

namespace kvtcli {

// The absolute form of `path`; UsageError when it is empty or longer than `limit`.
std::string AbsolutePath(const std::string& path, std::size_t limit, const std::string& what);

// The folder part of a path, with its trailing backslash.
std::string FolderOf(const std::string& path);

bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);
// Size of a file; -1 when there is none.
std::int64_t FileSize(const std::string& path);

// Makes the folder and the missing folders above it; ToolFailure when it cannot.
void MakeFolders(const std::string& folder);

// Now, for WrittenSince.
FILETIME Now();
// Files in `folder` matching `pattern` last written at `since` or later (2 s of
// time-stamp granularity allowed).
std::size_t WrittenSince(const std::string& folder, const char* pattern, const FILETIME& since);

}  // namespace kvtcli
