#include "simulator/camera/ValueSyntax.h"

#include <algorithm>

#include "common/Handles.h"
#include "common/HexDigit.h"
#include "simulator/camera/Status.h"
#include "simulator/recording/RecordingFormat.h"

namespace kvtsim {
namespace {
using kvt::HexDigit;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool ParseHexRun(const std::string& item, Bytes* out) {
    if (item.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < item.size(); i += 2) {
        int hi = HexDigit(item[i]), lo = HexDigit(item[i + 1]);
        if (hi < 0 || lo < 0) {
            return false;
        }
        out->push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return true;
}

// A quoted text starting at value[*pos] == '"'; *pos ends after the closing quote.
bool ParseQuoted(const std::string& value, std::size_t* pos, Bytes* out) {
    std::size_t i = *pos + 1;
    while (i < value.size() && value[i] != '"') {
        char c = value[i++];
        if (c != '\\') {
            out->push_back(static_cast<std::uint8_t>(c));
            continue;
        }
        if (i >= value.size()) {
            return false;
        }
        char e = value[i++];
        switch (e) {
            case '0': out->push_back(0); break;
            case 'n': out->push_back('\n'); break;
            case 'r': out->push_back('\r'); break;
            case 't': out->push_back('\t'); break;
            case '\\': out->push_back('\\'); break;
            case '"': out->push_back('"'); break;
            case 'x': {
                int hi = i < value.size() ? HexDigit(value[i]) : -1;
                int lo = i + 1 < value.size() ? HexDigit(value[i + 1]) : -1;
                if (hi < 0 || lo < 0) {
                    return false;
                }
                out->push_back(static_cast<std::uint8_t>(hi * 16 + lo));
                i += 2;
                break;
            }
            default: return false;
        }
    }
    if (i >= value.size()) {
        return false;
    }
    *pos = i + 1;
    return true;
}

void PutInt(Bytes* out, std::uint64_t v, unsigned bytes, bool bigEndian) {
    for (unsigned k = 0; k < bytes; ++k) {
        unsigned shift = 8 * (bigEndian ? bytes - 1 - k : k);
        out->push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

struct IntItem {
    const char* prefix;
    unsigned bytes;
    bool bigEndian;
};
const IntItem kIntItems[] = {{"u8:", 1, false},  {"u16:", 2, false}, {"u32:", 4, false},
                             {"u64:", 8, false}, {"be16:", 2, true}, {"be24:", 3, true},
                             {"be32:", 4, true}};

bool StartsWith(const std::string& s, const char* p) { return s.rfind(p, 0) == 0; }

bool ParseCount(const std::string& text, std::uint64_t* n) {
    return ParseNumber(text, n) && *n <= kMaxImageBytes;
}

// One blank-free item.
bool ParseItem(const std::string& item, Bytes* out, std::string* error) {
    for (const IntItem& k : kIntItems) {
        if (StartsWith(item, k.prefix)) {
            std::string digits = item.substr(std::string(k.prefix).size());
            std::uint64_t v;
            bool negative = !digits.empty() && digits[0] == '-';
            if (!ParseNumber(negative ? digits.substr(1) : digits, &v) ||
                (k.bytes < 8 && !negative && v >> (8 * k.bytes) != 0) ||
                (negative && (k.bytes < 8 ? v > (1ull << (8 * k.bytes - 1)) : v > (1ull << 63)))) {
                *error = "'" + item + "' is not a number that fits";
                return false;
            }
            PutInt(out, negative ? 0 - v : v, k.bytes, k.bigEndian);
            return true;
        }
    }
    std::uint64_t n;
    if (StartsWith(item, "zeros:")) {
        if (!ParseCount(item.substr(6), &n)) {
            *error = "bad count in '" + item + "'";
            return false;
        }
        out->resize(out->size() + n, 0);
        return true;
    }
    if (StartsWith(item, "pad:")) {
        if (!ParseCount(item.substr(4), &n) || n < out->size()) {
            *error = "'" + item + "' is smaller than the bytes before it";
            return false;
        }
        out->resize(n, 0);
        return true;
    }
    if (StartsWith(item, "fill:")) {
        std::size_t colon = item.find(':', 5);
        Bytes b;
        if (colon == std::string::npos || !ParseCount(item.substr(5, colon - 5), &n) ||
            !ParseHexRun(item.substr(colon + 1), &b) || b.size() != 1) {
            *error = "expected fill:N:HH, not '" + item + "'";
            return false;
        }
        out->resize(out->size() + n, b[0]);
        return true;
    }
    if (!ParseHexRun(item, out)) {
        *error = "'" + item + "' is not hexadecimal bytes";
        return false;
    }
    return true;
}
}  // namespace

bool ParseNumber(const std::string& text, std::uint64_t* value) {
    if (text.empty()) {
        return false;
    }
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::uint64_t v = 0;
    for (std::size_t i = hex ? 2 : 0; i < text.size(); ++i) {
        int d = HexDigit(text[i]);
        if (d < 0 || (!hex && d > 9)) {
            return false;
        }
        std::uint64_t base = hex ? 16 : 10;
        if (v > (~0ull - static_cast<unsigned>(d)) / base) {
            return false;
        }
        v = v * base + static_cast<unsigned>(d);
    }
    *value = v;
    return true;
}

bool ParseU32(const std::string& text, std::uint32_t* value) {
    bool negative = !text.empty() && text[0] == '-';
    std::uint64_t v;
    if (!ParseNumber(negative ? text.substr(1) : text, &v)) {
        return false;
    }
    if (negative ? v > 0x80000000ull : v > 0xFFFFFFFFull) {
        return false;
    }
    *value = static_cast<std::uint32_t>(negative ? 0 - v : v);
    return true;
}

bool ParseBytes(const std::string& value, const std::string& baseDir, Bytes* out,
                std::string* error) {
    out->clear();
    std::size_t pos = 0;
    while (pos < value.size()) {
        if (IsBlank(value[pos])) {
            ++pos;
            continue;
        }
        if (value[pos] == '"') {
            if (!ParseQuoted(value, &pos, out)) {
                *error = "unterminated or badly escaped text";
                return false;
            }
            continue;
        }
        if (value.compare(pos, 5, "file:") == 0) {
            std::string path = value.substr(pos + 5);
            while (!path.empty() && IsBlank(path.back())) {
                path.pop_back();
            }
            std::string full = kvtrec::PathFrom(baseDir, path);
            Bytes file;
            if (!ReadWholeFile(full, kMaxImageBytes, &file)) {
                *error = "cannot read the file '" + full + "'";
                return false;
            }
            out->insert(out->end(), file.begin(), file.end());
            return true;
        }
        std::size_t end = pos;
        while (end < value.size() && !IsBlank(value[end])) {
            ++end;
        }
        if (!ParseItem(value.substr(pos, end - pos), out, error)) {
            return false;
        }
        pos = end;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::size_t limit, Bytes* out) {
    kvt::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > limit) {
        return false;
    }
    out->resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < out->size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(out->size() - done, 1u << 24));
        DWORD got = 0;
        if (!::ReadFile(file.Get(), out->data() + done, chunk, &got, nullptr) || got == 0) {
            return false;
        }
        done += got;
    }
    return true;
}

}  // namespace kvtsim
