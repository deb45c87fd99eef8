// A JSON document written as it is built: objects, arrays, texts and numbers. Texts
// are taken in the process's code page and written as UTF-8. A document abandoned
// halfway (a command that failed mid-way) is closed with CloseTo, so the output stays
// one valid document.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace kvtcli {

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The key of the next value inside an object.
    JsonWriter& Key(const std::string& key);

    JsonWriter& String(const std::string& text);
    JsonWriter& Integer(std::int64_t value);
    JsonWriter& Unsigned(std::uint64_t value);
    JsonWriter& Real(double value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    // Key and value in one call.
    template <class Value>
    JsonWriter& Member(const std::string& key, const Value& value);

    // Closes what is open down to `depth`.
    void CloseTo(std::size_t depth);

    const std::string& Text() const { return _text; }

private:
    struct Level {
        bool object;
        bool empty;
    };
    void BeforeValue();
    void WriteEscaped(const std::string& text);
    void Begin(bool object, char bracket);
    void End(char bracket);

    std::string _text;
    std::vector<Level> _open;
    bool _afterKey = false;
};

template <class Value>
JsonWriter& JsonWriter::Member(const std::string& key, const Value& value) {
    Key(key);
    if constexpr (std::is_same_v<Value, bool>) {
        return Bool(value);
    } else if constexpr (std::is_convertible_v<const Value&, std::string>) {
        return String(value);
    } else if constexpr (std::is_floating_point_v<Value>) {
        return Real(value);
    } else if constexpr (std::is_signed_v<Value>) {
        return Integer(value);
    } else {
        return Unsigned(value);
    }
}

}  // namespace kvtcli
