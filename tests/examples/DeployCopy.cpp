#include "tests/examples/DeployCopy.h"

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
    std::string source = from;
    if (!source.empty() && source.back() != '\\') {
        source += '\\';
    }
    const std::string to = kvttest::MakeFreshDir(prefix);
    if (to.empty() || !CopyTree(source, to, true)) {
        return std::string();
    }
    return to;
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
