// The memory of one camera processor: 32-bit addresses, stored in 4 KB pages that
// exist only once written; unwritten bytes read as zero.
#pragma once

#include <array>
#include <cstdint>
#include <map>

namespace kvtsim {

class SparseMemory {
public:
    // Both fail (false, nothing done) when the range runs past the 32-bit address space.
    bool Read(std::uint32_t address, std::uint8_t* out, std::size_t size) const;
    bool Write(std::uint32_t address, const std::uint8_t* data, std::size_t size);
    void Clear() { _pages.clear(); }

private:
    // Calls visit(page index, offset in the page, count, offset in the caller's bytes)
    // for each page piece of the range.
    template <class Visit>
    static bool ForEachPiece(std::uint32_t address, std::size_t size, Visit visit);

    static constexpr std::uint32_t kPageBits = 12;
    static constexpr std::uint32_t kPageSize = 1u << kPageBits;
    std::map<std::uint32_t, std::array<std::uint8_t, kPageSize>> _pages;
};

}  // namespace kvtsim
