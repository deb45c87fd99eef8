#include "tests/examples/DeployCopy.h"

#include <vector>

#include "common/Handles.h"
#include "common/Win32.h"
#include "support/TestSupport.h"

namespace sdktest {
namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Files a program run in the deploy folder leaves behind.
bool IsLeftover(const std::string& name) {
    return name == "KvtDll.log" || name == "CameraLog";
}

bool CopyTree(const std::string& from, const std::string& to, bool top) {
    WIN32_FIND_DATAA entry;
    kvt::UniqueFind find(::FindFirstFileA((from + "*").c_str(), &entry));
    if (!find) {
        return false;
    }
    bool ok = true;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == ".." || IsLeftover(name) || (top && name == "sdk")) {
            continue;
        }
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            ok = ::CreateDirectoryA((to + name).c_str(), nullptr) != 0 &&
                 CopyTree(from + name + "\\", to + name + "\\", false) && ok;
        } else {
            ok = kvttest::CopyFileTo(from + name, to + name) && ok;
        }
    } while (::FindNextFileA(find.Get(), &entry));
    return ok;
}

}  // namespace

std::string WindowsPath(const std::string& buildMachinePath) {
    std::string path = "Z:" + buildMachinePath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

std::string CopyDeployFolder(const std::string& from, const std::string& prefix) {
    const std::string to = kvttest::MakeFreshDir(prefix);
    return !to.empty() && CopyDeployFolderInto(from, to) ? to : std::string();
}

bool CopyDeployFolderInto(const std::string& from, const std::string& to) {
    std::string source = from;
    if (!source.empty() && source.back() != '\\') {
        source += '\\';
    }
    ::CreateDirectoryA(to.c_str(), nullptr);
    return CopyTree(source, to, true);
}

std::map<std::string, std::string> ReadTree(const std::string& folder) {
    std::map<std::string, std::string> files;
    std::vector<std::string> pending{std::string()};
    while (!pending.empty()) {
        const std::string sub = pending.back();
        pending.pop_back();
        WIN32_FIND_DATAA entry;
        kvt::UniqueFind find(::FindFirstFileA((folder + sub + "*").c_str(), &entry));
        if (!find) {
            continue;
        }
        do {
            const std::string name = entry.cFileName;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                if (name != "." && name != "..") {
                    pending.push_back(sub + name + "\\");
                }
            } else {
                files[sub + name] = kvttest::ReadFileBytes(folder + sub + name);
            }
        } while (::FindNextFileA(find.Get(), &entry));
    }
    return files;
}

int CountFiles(const std::string& folder, const std::string& suffix) {
    WIN32_FIND_DATAA entry;
    kvt::UniqueFind find(::FindFirstFileA((folder + "*").c_str(), &entry));
    if (!find) {
        return 0;
    }
    int count = 0;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            EndsWith(entry.cFileName, suffix)) {
            ++count;
        }
    } while (::FindNextFileA(find.Get(), &entry));
    return count;
}

}  // namespace sdktest
