#include "tools/bench/SoakFigures.h"

#include <algorithm>
#include <cstdio>

#include "common/Win32.h"
#include "support/HandleCount.h"

// After <windows.h>, which it needs.
#include <psapi.h>

namespace kvtsoak {
namespace {

std::uint64_t CommittedPrivateBytes() {
    std::uint64_t total = 0;
    const char* at = nullptr;
    MEMORY_BASIC_INFORMATION info{};
    while (::VirtualQuery(at, &info, sizeof(info)) == sizeof(info)) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) {
            total += info.RegionSize;
        }
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= at) {
            break;
        }
        at = next;
    }
    return total;
}

std::uint64_t LogBytes() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA("KvtDll.log", GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

Figures Measure() {
    Figures f;
    f.handles = kvttest::ProcessHandleCount();
    f.privateBytes = CommittedPrivateBytes();
    PROCESS_MEMORY_COUNTERS_EX counters{};
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof(counters))) {
        f.privateUsage = counters.PrivateUsage;
    }
    f.logBytes = LogBytes();
    return f;
}

void Trend::Add(const Figures& f) {
    if (_count == 0) {
        _firstHandles = _minHandles = _maxHandles = f.handles;
        _firstPrivate = _minPrivate = _maxPrivate = f.privateBytes;
    }
    ++_count;
    _lastHandles = f.handles;
    _lastPrivate = f.privateBytes;
    _minHandles = std::min(_minHandles, f.handles);
    _maxHandles = std::max(_maxHandles, f.handles);
    _minPrivate = std::min(_minPrivate, f.privateBytes);
    _maxPrivate = std::max(_maxPrivate, f.privateBytes);
}

std::string Megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return text;
}

}  // namespace kvtsoak
