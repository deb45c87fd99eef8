#include "support/TestSupport.h"

#include <cstdio>
#include <thread>

#include "common/Handles.h"
#include "common/Win32.h"
#include "support/ProcessStart.h"

namespace kvttest {
namespace {
std::string WithSlash(std::string p) {
    if (!p.empty() && p.back() != '\\') {
        p += '\\';
    }
    return p;
}
}  // namespace

std::string BinDir() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of('\\') + 1);
}

std::string CurrentDir() {
    char path[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, path);
    return WithSlash(path);
}

std::string ReadFileBytes(const std::string& path) {
    std::string data;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return data;
    }
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) {
        data.append(buf, n);
    }
    std::fclose(f);
    return data;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool FileExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

std::string MakeFreshDir(const std::string& prefix) {
    return MakeFreshDirIn(CurrentDir(), prefix);
}

std::string MakeFreshDirIn(const std::string& parent, const std::string& prefix) {
    for (int n = 0;; ++n) {
        std::string dir = parent + prefix + "-" + std::to_string(n);
        if (::CreateDirectoryA(dir.c_str(), nullptr)) {
            return WithSlash(dir);
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            return std::string();
        }
    }
}

double Milliseconds() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void KeepOrRemoveFolder(const std::string& folder, bool keep) {
    if (keep) {
        std::printf("folder: %s\n", folder.c_str());
    } else {
        RemoveTree(folder);
    }
}

void RemoveTree(const std::string& path) {
    std::string dir = WithSlash(path);
    WIN32_FIND_DATAA fd;
    kvt::UniqueFind find(::FindFirstFileA((dir + "*").c_str(), &fd));
    if (find) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(dir + name);
            } else {
                ::DeleteFileA((dir + name).c_str());
            }
        } while (::FindNextFileA(find.Get(), &fd));
    }
    find.Reset();
    ::RemoveDirectoryA(dir.c_str());
}

ProcessResult RunProcess(const std::string& commandLine, const std::string& workDir,
                         const std::string& input, unsigned timeoutMs) {
    ProcessResult result;
    kvt::UniqueKernelHandle inRead, inWrite, outRead, outWrite, errRead, errWrite;
    CreateChildPipe(inRead, inWrite);
    CreateChildPipe(outRead, outWrite);
    CreateChildPipe(errRead, errWrite);
    StartedProcess child =
        StartProcess(commandLine, workDir, {inRead.Get(), outWrite.Get(), errWrite.Get()});
    result.started = true;
    inRead.Reset();
    outWrite.Reset();
    errWrite.Reset();

    auto drain = [](HANDLE h, std::string* into) {
        char buf[4096];
        DWORD n = 0;
        while (::ReadFile(h, buf, sizeof(buf), &n, nullptr) && n > 0) {
            into->append(buf, n);
        }
    };
    std::thread outThread(drain, outRead.Get(), &result.out);
    std::thread errThread(drain, errRead.Get(), &result.err);
    if (!input.empty()) {
        DWORD written = 0;
        ::WriteFile(inWrite.Get(), input.data(), static_cast<DWORD>(input.size()), &written,
                    nullptr);
    }
    inWrite.Reset();
    if (::WaitForSingleObject(child.Process(), timeoutMs) == WAIT_TIMEOUT) {
        result.timedOut = true;
        child.KillTree(1);
    }
    DWORD code = 0;
    ::GetExitCodeProcess(child.Process(), &code);
    result.exitCode = static_cast<int>(code);
    // What the child left running would keep the pipes open: the output is complete
    // when the child has ended.
    child.EndDescendants();
    outThread.join();
    errThread.join();
    return result;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> ReadLogLines(const std::string& path, bool stripStamp) {
    std::vector<std::string> lines = SplitLines(ReadFileBytes(path));
    for (std::string& line : lines) {
        if (stripStamp && line.size() >= 13 && line.compare(10, 3, " | ") == 0 &&
            line.find_first_not_of(" 0123456789") >= 10) {
            line = line.substr(13);
        }
    }
    return lines;
}

int FindLine(const std::vector<std::string>& lines, const std::string& line, int from) {
    for (int i = from < 0 ? 0 : from; i < static_cast<int>(lines.size()); ++i) {
        if (lines[i] == line) {
            return i;
        }
    }
    return -1;
}

int FindLineContaining(const std::vector<std::string>& lines, const std::string& text,
                       int from) {
    for (int i = from < 0 ? 0 : from; i < static_cast<int>(lines.size()); ++i) {
        if (lines[i].find(text) != std::string::npos) {
            return i;
        }
    }
    return -1;
}

}  // namespace kvttest
