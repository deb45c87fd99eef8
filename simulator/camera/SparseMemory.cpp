#include "simulator/camera/SparseMemory.h"

#include <algorithm>
#include <cstring>

namespace kvtsim {

template <class Visit>
bool SparseMemory::ForEachPiece(std::uint32_t address, std::size_t size, Visit visit) {
    if (static_cast<std::uint64_t>(address) + size > 0x100000000ull) {
        return false;
    }
    std::uint64_t at = address;
    std::size_t done = 0;
    while (done < size) {
        std::uint32_t offset = static_cast<std::uint32_t>(at % kPageSize);
        std::size_t n = std::min<std::size_t>(size - done, kPageSize - offset);
        visit(static_cast<std::uint32_t>(at >> kPageBits), offset, n, done);
        at += n;
        done += n;
    }
    return true;
}

bool SparseMemory::Read(std::uint32_t address, std::uint8_t* out, std::size_t size) const {
    return ForEachPiece(address, size, [&](std::uint32_t index, std::uint32_t offset,
                                           std::size_t n, std::size_t done) {
        auto page = _pages.find(index);
        if (page == _pages.end()) {
            std::memset(out + done, 0, n);
        } else {
            std::memcpy(out + done, page->second.data() + offset, n);
        }
    });
}

bool SparseMemory::Write(std::uint32_t address, const std::uint8_t* data, std::size_t size) {
    return ForEachPiece(address, size, [&](std::uint32_t index, std::uint32_t offset,
                                           std::size_t n, std::size_t done) {
        auto inserted = _pages.try_emplace(index);
        if (inserted.second) {
            inserted.first->second.fill(0);
        }
        std::memcpy(inserted.first->second.data() + offset, data + done, n);
    });
}

}  // namespace kvtsim
