#include "tools/bench/SoakFigures.h"

#include <algorithm>
#include <cstdio>
#include <vector>

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

// The bytes of every block in use in every heap of the process: a leak of a few bytes
// per cycle shows here long before it needs another page.
std::uint64_t HeapBytesInUse() {
    std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    std::uint64_t total = 0;
    for (HANDLE heap : heaps) {
        if (!::HeapLock(heap)) {
            continue;
        }
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heap, &entry)) {
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) {
                total += entry.cbData;
            }
        }
        ::HeapUnlock(heap);
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
    f.heapBytes = HeapBytesInUse();
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
        _firstHeap = _minHeap = _maxHeap = f.heapBytes;
    }
    ++_count;
    _lastHandles = f.handles;
    _lastPrivate = f.privateBytes;
    _minHandles = std::min(_minHandles, f.handles);
    _maxHandles = std::max(_maxHandles, f.handles);
    _minPrivate = std::min(_minPrivate, f.privateBytes);
    _maxPrivate = std::max(_maxPrivate, f.privateBytes);
    _lastHeap = f.heapBytes;
    _minHeap = std::min(_minHeap, f.heapBytes);
    _maxHeap = std::max(_maxHeap, f.heapBytes);
}

std::string Megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return text;
}

}  // namespace kvtsoak
