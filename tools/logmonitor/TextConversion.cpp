#include "tools/logmonitor/TextConversion.h"

#include <climits>

#include "common/Win32.h"

std::string ToUtf8(const char* text, std::size_t length, unsigned codePage) {
    if (length == 0) {
        return std::string();
    }
    if (length > static_cast<std::size_t>(INT_MAX / 2)) {
        return std::string(text, length);
    }
    const UINT from = codePage != 0 ? codePage : CP_ACP;
    const int n = static_cast<int>(length);
    const int wide = ::MultiByteToWideChar(from, 0, text, n, nullptr, 0);
    if (wide <= 0) {
        return std::string(text, length);
    }
    std::wstring buffer(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(from, 0, text, n, &buffer[0], wide);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, nullptr, 0,
                                            nullptr, nullptr);
    if (bytes <= 0) {
        return std::string(text, length);
    }
    std::string out(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, &out[0], bytes, nullptr, nullptr);
    return out;
}
