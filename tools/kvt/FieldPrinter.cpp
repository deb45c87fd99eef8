#include "tools/kvt/FieldPrinter.h"

#include <cstdint>
#include <cstring>

#include "tools/kvt/Values.h"

namespace kvtcli {
namespace {

std::uint32_t U32At(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return value;
}

double RealAt(const std::string& bytes, std::size_t offset) {
    double value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof(value));
    return value;
}

// One number element as text and into the document.
std::string NumberText(const FieldLayout& field, const std::string& bytes, std::size_t index) {
    const std::size_t at = field.offset + 4 * index;
    switch (field.kind) {
        case FieldKind::U32: return std::to_string(U32At(bytes, at));
        case FieldKind::I32: return std::to_string(static_cast<std::int32_t>(U32At(bytes, at)));
        case FieldKind::Real: return RealText(RealAt(bytes, field.offset));
        default: return std::string();
    }
}

void NumberJson(JsonWriter& doc, const FieldLayout& field, const std::string& bytes,
                std::size_t index) {
    const std::size_t at = field.offset + 4 * index;
    switch (field.kind) {
        case FieldKind::U32: doc.Unsigned(U32At(bytes, at)); break;
        case FieldKind::I32: doc.Integer(static_cast<std::int32_t>(U32At(bytes, at))); break;
        case FieldKind::Real: doc.Real(RealAt(bytes, field.offset)); break;
        default: doc.Null(); break;
    }
}

std::size_t FieldSize(const Layout& layout, const FieldLayout& field, const std::string& bytes) {
    // A layout whose size varies holds as many bytes as were given.
    return layout.varies ? bytes.size() : field.size;
}

}  // namespace

std::string TextOf(const std::string& bytes, std::size_t offset, std::size_t size) {
    const char* start = bytes.data() + offset;
    const void* zero = std::memchr(start, '\0', size);
    return std::string(start, zero != nullptr ? static_cast<const char*>(zero) - start : size);
}

void PrintFields(Output& out, const Layout& layout, const std::string& bytes,
                 const std::string& key, const std::string& indent) {
    if (layout.fields.empty() || bytes.size() < layout.size) {
        return;
    }
    if (out.Json()) {
        JsonWriter& doc = out.Doc();
        doc.Key(key).BeginObject();
        for (const FieldLayout& field : layout.fields) {
            doc.Key(field.name);
            if (field.kind == FieldKind::Text) {
                doc.String(TextOf(bytes, field.offset, field.size));
            } else if (field.kind == FieldKind::Bytes) {
                doc.String(HexText(bytes.substr(field.offset, FieldSize(layout, field, bytes)), false));
            } else if (field.count > 1) {
                doc.BeginArray();
                for (std::size_t i = 0; i < field.count; ++i) {
                    NumberJson(doc, field, bytes, i);
                }
                doc.EndArray();
            } else {
                NumberJson(doc, field, bytes, 0);
            }
        }
        doc.EndObject();
        return;
    }
    std::string text;
    for (const FieldLayout& field : layout.fields) {
        if (field.kind == FieldKind::Text) {
            text += indent + field.name + " = \"" + TextOf(bytes, field.offset, field.size) + "\"\n";
        } else if (field.kind == FieldKind::Bytes) {
            text += indent + field.name + " = " +
                    HexText(bytes.substr(field.offset, FieldSize(layout, field, bytes)), true) + "\n";
        } else if (field.count > 1) {
            for (std::size_t i = 0; i < field.count; ++i) {
                text += indent + field.name + "[" + std::to_string(i) + "] = " +
                        NumberText(field, bytes, i) + "\n";
            }
        } else {
            text += indent + field.name + " = " + NumberText(field, bytes, 0) + "\n";
        }
    }
    out.Text(text);
}

}  // namespace kvtcli
