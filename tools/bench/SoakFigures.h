// What the soak watches in its own process: kernel handles, private memory, the log.
#pragma once

#include <cstdint>
#include <string>

namespace kvtsoak {

struct Figures {
    unsigned handles = 0;                // kernel handles of the process
    std::uint64_t privateBytes = 0;      // committed private memory (VirtualQuery walk)
    std::uint64_t privateUsage = 0;      // the system's private bytes figure (0 if none)
    std::uint64_t heapBytes = 0;         // bytes in use in the process's heaps (HeapWalk)
    std::uint64_t logBytes = 0;          // size of ./KvtDll.log
};

Figures Measure();

// Keeps the figures after warm-up and says how far each moved.
class Trend {
public:
    void Add(const Figures& f);
    unsigned HandleSpread() const { return _count == 0 ? 0 : _maxHandles - _minHandles; }
    std::uint64_t PrivateSpread() const { return _count == 0 ? 0 : _maxPrivate - _minPrivate; }
    std::uint64_t HeapSpread() const { return _count == 0 ? 0 : _maxHeap - _minHeap; }
    // Growth from the first figures kept to the last.
    long long HandleGrowth() const { return _count == 0 ? 0 : static_cast<long long>(_lastHandles) - _firstHandles; }
    long long PrivateGrowth() const {
        return _count == 0 ? 0 : static_cast<long long>(_lastPrivate) - static_cast<long long>(_firstPrivate);
    }
    long long HeapGrowth() const {
        return _count == 0 ? 0 : static_cast<long long>(_lastHeap) - static_cast<long long>(_firstHeap);
    }

private:
    unsigned _count = 0;
    unsigned _firstHandles = 0, _lastHandles = 0, _minHandles = 0, _maxHandles = 0;
    std::uint64_t _firstPrivate = 0, _lastPrivate = 0, _minPrivate = 0, _maxPrivate = 0;
    std::uint64_t _firstHeap = 0, _lastHeap = 0, _minHeap = 0, _maxHeap = 0;
};

std::string Megabytes(std::uint64_t bytes);

}  // namespace kvtsoak
