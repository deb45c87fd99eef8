#include "tools/logreport/PageText.h"

#include "tools/common/TextConversion.h"

namespace logreport {
namespace {

constexpr char kMiddleDot[] = "\xC2\xB7";
constexpr char kReplacement[] = "\xEF\xBF\xBD";

bool IsPlainAscii(std::string_view s) {
    for (char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x80 || (u < 0x20 && c != '\t') || u == 0x7F) {
            return false;
        }
    }
    return true;
}

// Length of the valid UTF-8 sequence at `s[i]`, 0 if it is none.
std::size_t SequenceLength(std::string_view s, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    unsigned min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + n > s.size()) {
        return 0;
    }
    unsigned value = c & (0xFF >> (n + 1));
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (t & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    return n;
}

}  // namespace

const std::string& PageText::Utf8(std::string_view bytes) {
    _utf8.clear();
    if (IsPlainAscii(bytes)) {
        _utf8.assign(bytes.data(), bytes.size());
        return _utf8;
    }
    // Control bytes first, so that the code page conversion sees text only.
    std::string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const unsigned char u = static_cast<unsigned char>(c);
        text += (u < 0x20 && c != '\t') || u == 0x7F ? '\x7F' : c;
    }
    std::string converted = ToUtf8(text.data(), text.size(), _codePage);
    for (std::size_t i = 0; i < converted.size();) {
        const unsigned char u = static_cast<unsigned char>(converted[i]);
        if (u == 0x7F) {
            _utf8 += kMiddleDot;
            ++i;
        } else if (u < 0x80) {
            _utf8 += converted[i];
            ++i;
        } else if (const std::size_t n = SequenceLength(converted, i)) {
            _utf8.append(converted, i, n);
            i += n;
        } else {
            _utf8 += kReplacement;
            ++i;
        }
    }
    return _utf8;
}

void AppendJsonString(std::string& out, std::string_view utf8) {
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '<': out += "\\u003c"; break;   // no "</script>" or "<!--" inside the element
        case '>': out += "\\u003e"; break;
        case '&': out += "\\u0026"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += kHex[(c >> 4) & 0xF];
                out += kHex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void AppendHtml(std::string& out, std::string_view utf8) {
    for (char c : utf8) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
}

}  // namespace logreport
