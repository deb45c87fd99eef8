#include "core/channel/TextCut.h"

#include <cstring>

#include "common/Win32.h"

namespace comlib {
namespace {

std::size_t CutUtf8(const char* text, std::size_t limit) {
    // text[limit] is the first byte left out: back up while it continues a character.
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return cut;
}

std::size_t CutDoubleByte(const char* text, std::size_t limit, const CPINFO& info) {
    bool lead[256] = {};
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        for (unsigned b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) {
            lead[b] = true;
        }
    }
    // Character boundaries are only known from the start of the text.
    std::size_t i = 0;
    while (i < limit) {
        const std::size_t step = lead[static_cast<unsigned char>(text[i])] ? 2 : 1;
        if (i + step > limit) {
            break;
        }
        i += step;
    }
    return i;
}

}  // namespace

std::size_t FitTextLength(const char* text, std::size_t capacity, unsigned codePage) noexcept {
    if (text == nullptr || capacity == 0) {
        return 0;
    }
    const std::size_t length = ::strnlen(text, capacity);
    if (length < capacity) {
        return length;
    }
    const std::size_t limit = capacity - 1;
    if (codePage == CP_UTF8) {
        return CutUtf8(text, limit);
    }
    CPINFO info{};
    if (!::GetCPInfo(codePage, &info) || info.MaxCharSize < 2) {
        return limit;
    }
    return CutDoubleByte(text, limit, info);
}

}  // namespace comlib
