#include "robustness/DriverContext.h"

#include <cstdio>

#include "common/Handles.h"

namespace robust {
namespace {

unsigned long long FileSize(HANDLE file) {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(file, &size) ? static_cast<unsigned long long>(size.QuadPart) : 0;
}

kvt::UniqueFile OpenLog() {
    return kvt::UniqueFile(::CreateFileA("KvtDll.log", GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

bool LoadLibraries(DriverContext& ctx) {
    if (::LoadLibraryA((ctx.folder + "KVTItoPTP.dll").c_str()) == nullptr) {
        Emit("load failed KVTItoPTP.dll " + std::to_string(::GetLastError()));
        return false;
    }
    static kvttest::SimCamera camera;
    ctx.sim = &camera;
    HMODULE library = ::LoadLibraryA("oxrmsg.dll");
    if (library == nullptr) {
        Emit("load failed oxrmsg.dll " + std::to_string(::GetLastError()));
        return false;
    }
    return camera.Ok() && ctx.api.Bind(library);
}

LogTail::LogTail() {
    kvt::UniqueFile file = OpenLog();
    _offset = file ? FileSize(file.Get()) : 0;
}

std::string LogTail::Since() {
    kvt::UniqueFile file = OpenLog();
    if (!file) {
        _offset = 0;
        return std::string();
    }
    const unsigned long long size = FileSize(file.Get());
    if (size < _offset) {   // the log was removed and started again
        _offset = 0;
    }
    std::string text(static_cast<std::size_t>(size - _offset), '\0');
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(_offset);
    DWORD read = 0;
    if (!text.empty() && ::SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN)) {
        ::ReadFile(file.Get(), &text[0], static_cast<DWORD>(text.size()), &read, nullptr);
    }
    text.resize(read);
    _offset += read;
    return text;
}

unsigned CountTag(const std::string& text, const std::string& tag) {
    unsigned n = 0;
    for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
        ++n;
    }
    return n;
}

void Emit(const std::string& line) {
    std::fputs(("@@ " + line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace robust
