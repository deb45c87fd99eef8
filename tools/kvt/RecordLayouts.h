// Layouts of the parameters kvt reads and writes by field: the SDK's public records
// (kvt_records.h) in one table, and the plain shapes of the procedure reference
// ("u32", "text 16", "bytes 36", ...) as one-field layouts.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/procref/ProcedureDescriptions.h"

namespace kvtcli {

enum class FieldKind {
    U32,    // unsigned 32-bit, little-endian
    I32,    // signed 32-bit, little-endian
    Real,   // double
    Text,   // zero-terminated text in `size` bytes
    Bytes,  // bytes as they are
};

struct FieldLayout {
    const char* name;
    std::size_t offset;
    std::size_t size;    // bytes of the whole field
    FieldKind kind;
    std::size_t count;   // elements of a number array ("Word[20]"), else 1
};

struct Layout {
    std::string name;                // "BODYID_T", "u32", "text 16", "bytes"
    std::size_t size = 0;            // 0 with `varies`
    std::vector<FieldLayout> fields;
    bool record = false;             // values name their field: Field=value
    bool varies = false;             // "bytes": as many bytes as the values give
};

// The record of that name (kvt_records.h), or null.
const Layout* FindRecordLayout(const std::string& name);

// The layout of a parameter shape of the procedure reference; for "none" a layout
// without fields.
Layout LayoutOfShape(const procref::ParameterShape& shape);

// "bytes N" (or "bytes" when size is 0): the layout of a parameter known only by its
// registered size.
Layout BytesLayout(std::size_t size);

// The field of that name, or null.
const FieldLayout* FindField(const Layout& layout, const std::string& name);

}  // namespace kvtcli
