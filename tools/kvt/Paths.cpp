#include "tools/kvt/Paths.h"

#include "common/Handles.h"
#include "tools/kvt/Failures.h"

namespace kvtcli {
namespace {

std::uint64_t Ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

constexpr std::uint64_t kStampGranularity = 2ull * 10000000ull;   // 2 s in 100 ns

}  // namespace

std::string AbsolutePath(const std::string& path, std::size_t limit, const std::string& what) {
    if (path.empty()) {
        throw UsageError(what + ": an empty path");
    }
    char full[MAX_PATH * 2] = {};
    char* name = nullptr;
    const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof(full), full, &name);
    if (length == 0 || length >= sizeof(full) || length > limit) {
        throw UsageError(what + ": \"" + path + "\" is longer than " + std::to_string(limit) +
                         " characters as an absolute path");
    }
    return std::string(full, length);
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of("\\/") + 1);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::int64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return -1;
    }
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                     data.nFileSizeLow);
}

void MakeFolders(const std::string& folder) {
    std::string path = folder;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
        path.pop_back();
    }
    if (path.empty() || IsFolder(path)) {
        return;
    }
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && path[slash - 1] != ':') {
        MakeFolders(path.substr(0, slash));
    }
    if (!::CreateDirectoryA(path.c_str(), nullptr)) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS) {
            throw ToolFailure("cannot make the folder " + path + " (Windows error " +
                              std::to_string(error) + ")");
        }
    }
}

FILETIME Now() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return now;
}

std::size_t WrittenSince(const std::string& folder, const char* pattern, const FILETIME& since) {
    const std::uint64_t from = Ticks(since) > kStampGranularity ? Ticks(since) - kStampGranularity : 0;
    WIN32_FIND_DATAA found;
    kvt::UniqueFind search(::FindFirstFileA((folder + pattern).c_str(), &found));
    if (!search) {
        return 0;
    }
    std::size_t count = 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            Ticks(found.ftLastWriteTime) >= from) {
            ++count;
        }
    } while (::FindNextFileA(search.Get(), &found));
    return count;
}

}  // namespace kvtcli
