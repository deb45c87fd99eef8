#include "simulator/camera/SparseMemory.h"

#include <algorithm>
#include <cstring>

namespace kvtsim {
namespace {
bool RangeFits(std::uint32_t address, std::size_t size) {
    return static_cast<std::uint64_t>(address) + size <= 0x100000000ull;
}
}  // namespace

bool SparseMemory::Read(std::uint32_t address, std::uint8_t* out, std::size_t size) const {
    if (!RangeFits(address, size)) {
        return false;
    }
    std::uint64_t at = address;
    while (size > 0) {
        std::uint32_t offset = static_cast<std::uint32_t>(at % kPageSize);
        std::size_t n = std::min<std::size_t>(size, kPageSize - offset);
        auto page = _pages.find(static_cast<std::uint32_t>(at >> kPageBits));
        if (page == _pages.end()) {
            std::memset(out, 0, n);
        } else {
            std::memcpy(out, page->second.data() + offset, n);
        }
        out += n;
        at += n;
        size -= n;
    }
    return true;
}

bool SparseMemory::Write(std::uint32_t address, const std::uint8_t* data, std::size_t size) {
    if (!RangeFits(address, size)) {
        return false;
    }
    std::uint64_t at = address;
    while (size > 0) {
        std::uint32_t offset = static_cast<std::uint32_t>(at % kPageSize);
        std::size_t n = std::min<std::size_t>(size, kPageSize - offset);
        auto inserted = _pages.try_emplace(static_cast<std::uint32_t>(at >> kPageBits));
        if (inserted.second) {
            inserted.first->second.fill(0);
        }
        std::memcpy(inserted.first->second.data() + offset, data, n);
        data += n;
        at += n;
        size -= n;
    }
    return true;
}

}  // namespace kvtsim
