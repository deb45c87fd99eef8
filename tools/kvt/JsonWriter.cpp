#include "tools/kvt/JsonWriter.h"

#include <cmath>
#include <cstdio>

#include "common/Win32.h"
#include "tools/kvt/Values.h"

namespace kvtcli {
namespace {

// The text as UTF-8: converted from the process's code page; a text that is not valid
// there keeps its ASCII and has every other byte taken as the character of that value.
std::string Utf8(const std::string& text) {
    bool ascii = true;
    for (unsigned char c : text) {
        ascii = ascii && c < 0x80;
    }
    if (ascii || text.empty()) {
        return text;
    }
    const int length = static_cast<int>(text.size());
    const int wide = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length,
                                           nullptr, 0);
    if (wide > 0) {
        std::wstring units(static_cast<std::size_t>(wide), L'\0');
        ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, &units[0], wide);
        const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, units.data(), wide, nullptr, 0,
                                                nullptr, nullptr);
        if (bytes > 0) {
            std::string out(static_cast<std::size_t>(bytes), '\0');
            ::WideCharToMultiByte(CP_UTF8, 0, units.data(), wide, &out[0], bytes, nullptr, nullptr);
            return out;
        }
    }
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

void JsonWriter::BeforeValue() {
    if (_afterKey) {
        _afterKey = false;
        return;
    }
    if (!_open.empty()) {
        if (!_open.back().empty) {
            _text += ',';
        }
        _open.back().empty = false;
    }
}

void JsonWriter::Begin(bool object, char bracket) {
    BeforeValue();
    _text += bracket;
    _open.push_back(Level{object, true});
}

void JsonWriter::End(char bracket) {
    if (_afterKey) {   // a key without its value
        _text += "null";
        _afterKey = false;
    }
    if (!_open.empty()) {
        _open.pop_back();
        _text += bracket;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    Begin(true, '{');
    return *this;
}
JsonWriter& JsonWriter::EndObject() {
    End('}');
    return *this;
}
JsonWriter& JsonWriter::BeginArray() {
    Begin(false, '[');
    return *this;
}
JsonWriter& JsonWriter::EndArray() {
    End(']');
    return *this;
}

JsonWriter& JsonWriter::Key(const std::string& key) {
    BeforeValue();
    WriteEscaped(key);
    _text += ':';
    _afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::String(const std::string& text) {
    BeforeValue();
    WriteEscaped(text);
    return *this;
}

void JsonWriter::WriteEscaped(const std::string& text) {
    _text += '"';
    for (unsigned char c : Utf8(text)) {
        switch (c) {
            case '"': _text += "\\\""; break;
            case '\\': _text += "\\\\"; break;
            case '\n': _text += "\\n"; break;
            case '\r': _text += "\\r"; break;
            case '\t': _text += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned>(c));
                    _text += escaped;
                } else {
                    _text += static_cast<char>(c);
                }
        }
    }
    _text += '"';
}

JsonWriter& JsonWriter::Integer(std::int64_t value) {
    BeforeValue();
    _text += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Unsigned(std::uint64_t value) {
    BeforeValue();
    _text += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Real(double value) {
    if (!std::isfinite(value)) {   // JSON has no infinities and no NaN
        return Null();
    }
    BeforeValue();
    _text += RealText(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    _text += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    _text += "null";
    return *this;
}

void JsonWriter::CloseTo(std::size_t depth) {
    while (_open.size() > depth) {
        End(_open.back().object ? '}' : ']');
    }
}

}  // namespace kvtcli
