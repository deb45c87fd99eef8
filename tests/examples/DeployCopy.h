// A copy of the build's deploy folder for one test, and paths of the build machine as
// the Windows programs under Wine see them.
#pragma once

#include <map>
#include <string>

namespace sdktest {

// "/work/main/dist" as "Z:\work\main\dist" (Wine maps the root of the build machine's
// file system to drive Z:).
std::string WindowsPath(const std::string& buildMachinePath);

// Copies the deploy folder `from` into a fresh folder "<prefix>-<n>\" below the current
// directory, without its sdk\ part and without log files a program left there. Returns
// the new folder with a trailing backslash, or "" if a copy failed.
std::string CopyDeployFolder(const std::string& from, const std::string& prefix);

// The same into the folder `to` (created if missing; with a trailing backslash), for a
// test that lays out the same path twice. False if a copy failed.
bool CopyDeployFolderInto(const std::string& from, const std::string& to);

// Every file below `folder` (with a trailing backslash) by its path relative to it
// ("sub\name"), with its bytes.
std::map<std::string, std::string> ReadTree(const std::string& folder);

// Number of files in `folder` whose names end in `suffix`.
int CountFiles(const std::string& folder, const std::string& suffix);

}  // namespace sdktest
