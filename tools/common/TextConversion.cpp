#include "tools/common/TextConversion.h"

#include <algorithm>
#include <climits>

#include "common/Win32.h"

std::string ToUtf8(const char* text, std::size_t length, unsigned codePage) {
    // A log text is at most 2,048,000 bytes; anything beyond INT_MAX / 2 is not taken.
    const int n = static_cast<int>(std::min<std::size_t>(length, INT_MAX / 2));
    const std::string unchanged(text, static_cast<std::size_t>(n));
    if (n == 0) {
        return unchanged;
    }
    const UINT from = codePage != 0 ? codePage : CP_ACP;
    const int wide = ::MultiByteToWideChar(from, 0, text, n, nullptr, 0);
    if (wide <= 0) {
        return unchanged;
    }
    std::wstring buffer(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(from, 0, text, n, &buffer[0], wide);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, nullptr, 0,
                                            nullptr, nullptr);
    if (bytes <= 0) {
        return unchanged;
    }
    std::string out(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, &out[0], bytes, nullptr, nullptr);
    return out;
}
