#include "tools/kvt/Values.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "common/HexDigit.h"
#include "tools/kvt/Failures.h"

namespace kvtcli {

using kvt::HexDigit;

std::int64_t ParseNumber(const std::string& text, std::int64_t min, std::int64_t max,
                         const std::string& what) {
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) {
        ++at;
    }
    int base = 10;
    if (text.size() > at + 2 && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
        base = 16;
        at += 2;
    }
    bool digits = at < text.size();
    std::uint64_t magnitude = 0;
    for (std::size_t i = at; i < text.size() && digits; ++i) {
        const int d = HexDigit(text[i]);
        digits = d >= 0 && d < base;
        if (digits) {
            if (magnitude > (UINT64_MAX - static_cast<unsigned>(d)) / static_cast<unsigned>(base)) {
                magnitude = UINT64_MAX;   // far out of any range
                break;
            }
            magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        }
    }
    if (!digits) {
        throw UsageError(what + ": \"" + text + "\" is not a number");
    }
    const bool fits = negative ? magnitude <= static_cast<std::uint64_t>(INT64_MAX) &&
                                     -static_cast<std::int64_t>(magnitude) >= min
                               : magnitude <= static_cast<std::uint64_t>(max) &&
                                     static_cast<std::int64_t>(magnitude) >= min;
    if (!fits) {
        throw UsageError(what + ": " + text + " is out of range (" + std::to_string(min) + " to " +
                         std::to_string(max) + ")");
    }
    return negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
}

std::uint32_t ParseU32(const std::string& text, const std::string& what) {
    return static_cast<std::uint32_t>(ParseNumber(text, 0, UINT32_MAX, what));
}

double ParseReal(const std::string& text, const std::string& what) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end == nullptr || *end != '\0' || errno == ERANGE) {
        throw UsageError(what + ": \"" + text + "\" is not a number");
    }
    return value;
}

std::string ParseHexBytes(const std::string& text, const std::string& what) {
    std::string bytes;
    std::size_t i = 0;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        i = 2;
    }
    int high = -1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == ':' || c == '\t') {
            if (high >= 0) {
                throw UsageError(what + ": \"" + text + "\" has a lone hex digit");
            }
            continue;
        }
        const int d = HexDigit(c);
        if (d < 0) {
            throw UsageError(what + ": \"" + text + "\" is not hex bytes (for example 0a1b or \"0a 1b\")");
        }
        if (high < 0) {
            high = d;
        } else {
            bytes += static_cast<char>(high * 16 + d);
            high = -1;
        }
    }
    if (high >= 0) {
        throw UsageError(what + ": \"" + text + "\" has an odd number of hex digits");
    }
    return bytes;
}

std::string RealText(double value) {
    char digits[40];
    for (int precision = 15; precision <= 17; ++precision) {
        std::snprintf(digits, sizeof(digits), "%.*g", precision, value);
        if (std::strtod(digits, nullptr) == value) {
            break;
        }
    }
    return digits;
}

std::string HexText(const std::string& bytes, bool spaced) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (spaced && i > 0) {
            text += ' ';
        }
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

}  // namespace kvtcli
