#include "simulator/recording/RecordingFormat.h"

#include <cstring>

#include "common/HexDigit.h"

namespace kvtrec {
namespace {
constexpr char kDigits[] = "0123456789abcdef";

using kvt::HexDigit;

bool Escaped(unsigned char c) {
    return c <= ' ' || c > '~' || c == '%';
}
}  // namespace

std::string Hex(const void* data, std::size_t size) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    std::string text(size * 2, '0');
    for (std::size_t i = 0; i < size; ++i) {
        text[2 * i] = kDigits[bytes[i] >> 4];
        text[2 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string Hex8(std::uint32_t value) {
    std::string text = "0x00000000";
    for (int i = 0; i < 8; ++i) {
        text[9 - i] = kDigits[(value >> (4 * i)) & 0x0F];
    }
    return text;
}

bool FromHex(const std::string& text, std::string* bytes) {
    if (text.size() % 2 != 0) {
        return false;
    }
    std::string out(text.size() / 2, '\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int hi = HexDigit(text[2 * i]);
        const int lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0) {
            return false;
        }
        out[i] = static_cast<char>(hi * 16 + lo);
    }
    *bytes = std::move(out);
    return true;
}

bool ParseNumber(const std::string& text, std::uint64_t* value) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::size_t start = hex ? 2 : 0;
    const std::uint64_t base = hex ? 16 : 10;
    if (text.size() <= start || text.size() - start > (hex ? 16u : 19u)) {
        return false;
    }
    std::uint64_t v = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0 || static_cast<std::uint64_t>(d) >= base) {
            return false;
        }
        v = v * base + static_cast<std::uint64_t>(d);
    }
    *value = v;
    return true;
}

bool ParseU32(const std::string& text, std::uint32_t* value) {
    std::uint64_t v = 0;
    if (!ParseNumber(text, &v) || v > 0xFFFFFFFFull) {
        return false;
    }
    *value = static_cast<std::uint32_t>(v);
    return true;
}

std::string EscapeText(const std::string& text) {
    std::string escaped;
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (Escaped(c)) {
            escaped += '%';
            escaped += kDigits[c >> 4];
            escaped += kDigits[c & 0x0F];
        } else {
            escaped += ch;
        }
    }
    return escaped;
}

std::string EscapeName(const char* name) {
    return name == nullptr ? std::string(kNullName)
                           : EscapeText(std::string(name, strnlen(name, kMaxNameLength)));
}

bool UnescapeName(const std::string& text, std::string* name) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const bool complete = i + 2 < text.size();
        const int hi = complete ? HexDigit(text[i + 1]) : -1;
        const int lo = complete ? HexDigit(text[i + 2]) : -1;
        if (hi < 0 || lo < 0) {
            return false;
        }
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    *name = std::move(out);
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string PathFrom(const std::string& folder, const std::string& path) {
    const bool full = (path.size() >= 2 && path[1] == ':') ||
                      (!path.empty() && (path[0] == '\\' || path[0] == '/'));
    return full ? path : folder + path;
}

CallLine& CallLine::Add(const std::string& key, const std::string& value) {
    fields.emplace_back(key, value);
    return *this;
}

CallLine& CallLine::Add(const std::string& key, std::uint64_t value) {
    return Add(key, std::to_string(value));
}

bool CallLine::Has(const std::string& key) const {
    for (const auto& f : fields) {
        if (f.first == key) {
            return true;
        }
    }
    return false;
}

std::string CallLine::Get(const std::string& key) const {
    for (const auto& f : fields) {
        if (f.first == key) {
            return f.second;
        }
    }
    return std::string();
}

std::string CallLine::Text() const {
    std::string text = std::to_string(number) + " " + function;
    for (const auto& f : fields) {
        text += ' ';
        text += f.first;
        text += '=';
        text += f.second;
    }
    return text;
}

bool ParseCallLine(const std::string& text, CallLine* call, std::string* error) {
    error->clear();
    std::string line = text;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.pop_back();
    }
    if (line.empty() || line[0] == '#') {
        return false;
    }
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos <= line.size()) {
        const std::size_t blank = line.find(' ', pos);
        const std::string word =
            line.substr(pos, blank == std::string::npos ? std::string::npos : blank - pos);
        if (word.empty()) {
            *error = "words are separated by single blanks";
            return false;
        }
        words.push_back(word);
        if (blank == std::string::npos) {
            break;
        }
        pos = blank + 1;
    }
    CallLine parsed;
    if (words.size() < 2 || !ParseNumber(words[0], &parsed.number)) {
        *error = "a call line starts with its number and the function";
        return false;
    }
    parsed.function = words[1];
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::size_t eq = words[i].find('=');
        if (eq == std::string::npos || eq == 0) {
            *error = "'" + words[i] + "' is not key=value";
            return false;
        }
        const std::string key = words[i].substr(0, eq);
        if (parsed.Has(key)) {
            *error = "'" + key + "' appears twice";
            return false;
        }
        parsed.Add(key, words[i].substr(eq + 1));
    }
    parsed.line = call->line;
    *call = std::move(parsed);
    return true;
}

std::string BlockFileName(const std::string& recordingName, std::uint64_t number) {
    return recordingName + "." + std::to_string(number) + ".bin";
}

}  // namespace kvtrec
