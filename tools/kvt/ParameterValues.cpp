#include "tools/kvt/ParameterValues.h"

#include <cstdint>
#include <cstring>

#include "tools/kvt/Failures.h"
#include "tools/kvt/Suggestions.h"
#include "tools/kvt/Values.h"

namespace kvtcli {
namespace {

void PutU32(std::string& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// One number element of a field.
void PutNumber(std::string& bytes, const FieldLayout& field, std::size_t index,
               const std::string& text, const std::string& what) {
    switch (field.kind) {
        case FieldKind::U32:
            PutU32(bytes, field.offset + 4 * index, ParseU32(text, what));
            break;
        case FieldKind::I32:
            PutU32(bytes, field.offset + 4 * index,
                   static_cast<std::uint32_t>(ParseNumber(text, INT32_MIN, INT32_MAX, what)));
            break;
        case FieldKind::Real: {
            const double value = ParseReal(text, what);
            std::memcpy(&bytes[field.offset], &value, sizeof(value));
            break;
        }
        default:
            break;
    }
}

void PutText(std::string& bytes, const FieldLayout& field, const std::string& text,
             const std::string& what) {
    if (text.size() >= field.size) {
        throw UsageError(what + ": a text of " + std::to_string(text.size()) +
                         " characters does not fit " + std::to_string(field.size) + " bytes (at most " +
                         std::to_string(field.size - 1) + " characters and the terminating zero)");
    }
    if (text.find('\0') != std::string::npos) {
        throw UsageError(what + ": the text holds a zero byte");
    }
    std::memset(&bytes[field.offset], 0, field.size);
    std::memcpy(&bytes[field.offset], text.data(), text.size());
}

void PutBytes(std::string& bytes, const FieldLayout& field, const std::string& value,
              const std::string& what) {
    if (value.size() > field.size) {
        throw UsageError(what + ": " + std::to_string(value.size()) + " bytes do not fit " +
                         std::to_string(field.size));
    }
    std::memset(&bytes[field.offset], 0, field.size);
    std::memcpy(&bytes[field.offset], value.data(), value.size());
}

// A whole field from one value: a text, hex bytes, a number, or a comma list of numbers.
void PutField(std::string& bytes, const FieldLayout& field, const std::string& value,
              const std::string& what) {
    switch (field.kind) {
        case FieldKind::Text:
            PutText(bytes, field, value, what);
            return;
        case FieldKind::Bytes:
            PutBytes(bytes, field, ParseHexBytes(value, what), what);
            return;
        default:
            break;
    }
    std::vector<std::string> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        items.push_back(value.substr(start, comma == std::string::npos ? comma : comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    if (items.size() > field.count) {
        throw UsageError(what + ": " + std::to_string(items.size()) + " values for " +
                         std::to_string(field.count) + (field.count == 1 ? " number" : " numbers"));
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        PutNumber(bytes, field, i, items[i], what);
    }
}

[[noreturn]] void UnknownField(const Layout& layout, const std::string& name, const std::string& what) {
    std::vector<std::string> names;
    for (const FieldLayout& field : layout.fields) {
        names.push_back(field.name);
    }
    std::string message = what + " has no field \"" + name + "\"";
    const std::vector<std::string> nearest = NearestNames(name, names, 3);
    if (!nearest.empty()) {
        message += "; did you mean " + nearest[0] + "?";
    }
    message += " (fields:";
    for (const std::string& field : names) {
        message += " " + field;
    }
    throw UsageError(message + ")");
}

// "Name", "Name[3]": the field and the element (or -1 for the whole field).
const FieldLayout& FieldOf(const Layout& layout, const std::string& target, long& element,
                           const std::string& what) {
    element = -1;
    std::string name = target;
    const std::size_t bracket = target.find('[');
    if (bracket != std::string::npos) {
        if (target.back() != ']') {
            throw UsageError(what + ": \"" + target + "\" is not Field or Field[index]");
        }
        name = target.substr(0, bracket);
        const std::string index = target.substr(bracket + 1, target.size() - bracket - 2);
        const FieldLayout* field = FindField(layout, name);
        if (field == nullptr) {
            UnknownField(layout, name, what);
        }
        if (field->count < 2) {
            throw UsageError(what + ": " + name + " is not an array");
        }
        element = static_cast<long>(ParseNumber(index, 0, static_cast<std::int64_t>(field->count) - 1,
                                                what + " " + name + " index"));
        return *field;
    }
    const FieldLayout* field = FindField(layout, name);
    if (field == nullptr) {
        UnknownField(layout, name, what);
    }
    return *field;
}

}  // namespace

void ApplyAssignments(const Layout& layout, const std::vector<std::string>& assignments,
                      std::string& bytes, const std::string& what) {
    for (const std::string& assignment : assignments) {
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0) {
            throw UsageError(what + " takes its values by field, Field=value (\"" + assignment +
                             "\" names no field)");
        }
        long element = -1;
        const FieldLayout& field = FieldOf(layout, assignment.substr(0, equals), element, what);
        const std::string value = assignment.substr(equals + 1);
        const std::string fieldWhat = what + " " + assignment.substr(0, equals);
        if (element >= 0) {
            PutNumber(bytes, field, static_cast<std::size_t>(element), value, fieldWhat);
        } else {
            PutField(bytes, field, value, fieldWhat);
        }
    }
}

std::string FillParameter(const Layout& layout, const std::vector<std::string>& values,
                          const std::string& what) {
    if (layout.record) {
        std::string bytes(layout.size, '\0');
        ApplyAssignments(layout, values, bytes, what);
        return bytes;
    }
    if (layout.fields.empty()) {
        if (!values.empty()) {
            throw UsageError(what + " is none: the procedure takes no values");
        }
        return std::string();
    }
    const FieldLayout& field = layout.fields.front();
    if (field.kind == FieldKind::Bytes) {
        std::string hex;
        for (const std::string& value : values) {
            hex += ParseHexBytes(value, what);
        }
        if (layout.varies) {
            return hex;
        }
        std::string bytes(layout.size, '\0');
        PutBytes(bytes, field, hex, what);
        return bytes;
    }
    std::string bytes(layout.size, '\0');
    if (field.kind == FieldKind::Text) {
        if (values.size() > 1) {
            throw UsageError(what + " takes one text; quote a text with blanks");
        }
        if (!values.empty()) {
            PutText(bytes, field, values.front(), what);
        }
        return bytes;
    }
    if (values.size() > field.count) {
        throw UsageError(what + " takes " + std::to_string(field.count) +
                         (field.count == 1 ? " number" : " numbers") + ", not " +
                         std::to_string(values.size()));
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        PutNumber(bytes, field, i, values[i], what);
    }
    return bytes;
}

std::string FillTypedValues(const std::vector<std::string>& values, std::size_t size,
                            const std::string& what) {
    std::string bytes;
    for (const std::string& value : values) {
        std::string piece(4, '\0');
        if (value.compare(0, 4, "u32:") == 0) {
            PutU32(piece, 0, ParseU32(value.substr(4), what));
        } else if (value.compare(0, 4, "i32:") == 0) {
            PutU32(piece, 0, static_cast<std::uint32_t>(
                                 ParseNumber(value.substr(4), INT32_MIN, INT32_MAX, what)));
        } else if (value.compare(0, 5, "text:") == 0) {
            piece = value.substr(5);
            if (piece.find('\0') != std::string::npos) {
                throw UsageError(what + ": the text holds a zero byte");
            }
            piece += '\0';
        } else if (value.compare(0, 4, "hex:") == 0) {
            piece = ParseHexBytes(value.substr(4), what);
        } else if (!value.empty() && (value[0] == '-' || (value[0] >= '0' && value[0] <= '9'))) {
            PutU32(piece, 0, ParseU32(value, what));
        } else {
            throw UsageError(what + ": \"" + value +
                             "\" is not a typed value (u32:N, i32:N, text:TEXT, hex:BYTES)");
        }
        bytes += piece;
    }
    if (size != 0) {
        if (bytes.size() > size) {
            throw UsageError(what + ": the values take " + std::to_string(bytes.size()) +
                             " bytes, the registered size is " + std::to_string(size));
        }
        bytes.resize(size, '\0');
    }
    return bytes;
}

}  // namespace kvtcli
