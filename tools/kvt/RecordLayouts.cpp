#include "tools/kvt/RecordLayouts.h"

#include <cstddef>
#include <cstring>

#include "include/kvt_records.h"

namespace kvtcli {
namespace {

// One field of a record of kvt_records.h: offset and size from the compiler, so the
// table cannot drift from the header. Number arrays count their elements.
#define KVT_FIELD(Record, Field, Kind)                                              \
    FieldLayout {                                                                   \
        #Field, offsetof(Record, Field), sizeof(Record::Field), FieldKind::Kind,    \
            (FieldKind::Kind == FieldKind::U32 || FieldKind::Kind == FieldKind::I32) \
                ? sizeof(Record::Field) / 4                                         \
                : 1                                                                 \
    }

constexpr FieldLayout kBodyId[] = {
    KVT_FIELD(BODYID_T, ManufactureMonth, U32), KVT_FIELD(BODYID_T, Second, U32),
    KVT_FIELD(BODYID_T, Third, U32),            KVT_FIELD(BODYID_T, Fourth, U32),
    KVT_FIELD(BODYID_T, SerialNo, U32),
};
constexpr FieldLayout kDateTime[] = {
    KVT_FIELD(DATETIME_T, Year, I32), KVT_FIELD(DATETIME_T, Month, I32),
    KVT_FIELD(DATETIME_T, Day, I32),  KVT_FIELD(DATETIME_T, Hour, I32),
    KVT_FIELD(DATETIME_T, Minute, I32), KVT_FIELD(DATETIME_T, Second, I32),
};
constexpr FieldLayout kDigitalParaAdj[] = {
    KVT_FIELD(DIGITAL_PARA_ADJ_T, DeltaX, I32),
    KVT_FIELD(DIGITAL_PARA_ADJ_T, DeltaY, I32),
};
constexpr FieldLayout kPropertyData[] = {
    KVT_FIELD(PROPERTY_DATA_T, szName, Text),
    KVT_FIELD(PROPERTY_DATA_T, ID, U32),
    KVT_FIELD(PROPERTY_DATA_T, Size, U32),
};
constexpr FieldLayout kABoardEeprom[] = {
    KVT_FIELD(ABOARD_EEPROM_DATA_T, Data, U32),
    KVT_FIELD(ABOARD_EEPROM_DATA_T, Address, U32),
    KVT_FIELD(ABOARD_EEPROM_DATA_T, Count, U32),
};
constexpr FieldLayout kReleaseParameter[] = {
    KVT_FIELD(ReleaseParameter, Word, U32),
};

#undef KVT_FIELD

struct RecordRow {
    const char* name;
    std::size_t size;
    const FieldLayout* fields;
    std::size_t fieldCount;
};

#define KVT_RECORD(Record, fields) \
    RecordRow { #Record, sizeof(Record), fields, sizeof(fields) / sizeof(fields[0]) }

// The records of kvt_records.h.
const RecordRow kRecords[] = {
    KVT_RECORD(BODYID_T, kBodyId),
    KVT_RECORD(DATETIME_T, kDateTime),
    KVT_RECORD(DIGITAL_PARA_ADJ_T, kDigitalParaAdj),
    KVT_RECORD(PROPERTY_DATA_T, kPropertyData),
    KVT_RECORD(ABOARD_EEPROM_DATA_T, kABoardEeprom),
    KVT_RECORD(ReleaseParameter, kReleaseParameter),
};

#undef KVT_RECORD

// Every record is covered by its fields, in order and without gaps, so a field left
// out of a row would not compile.
template <std::size_t N>
constexpr bool CoversRecord(const FieldLayout (&fields)[N], std::size_t size) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (fields[i].offset != next) {
            return false;
        }
        next += fields[i].size;
    }
    return next == size;
}
static_assert(CoversRecord(kBodyId, sizeof(BODYID_T)), "BODYID_T fields");
static_assert(CoversRecord(kDateTime, sizeof(DATETIME_T)), "DATETIME_T fields");
static_assert(CoversRecord(kDigitalParaAdj, sizeof(DIGITAL_PARA_ADJ_T)), "DIGITAL_PARA_ADJ_T fields");
static_assert(CoversRecord(kPropertyData, sizeof(PROPERTY_DATA_T)), "PROPERTY_DATA_T fields");
static_assert(CoversRecord(kABoardEeprom, sizeof(ABOARD_EEPROM_DATA_T)), "ABOARD_EEPROM_DATA_T fields");
static_assert(CoversRecord(kReleaseParameter, sizeof(ReleaseParameter)), "ReleaseParameter fields");

const std::vector<Layout>& Records() {
    static const std::vector<Layout> records = [] {
        std::vector<Layout> all;
        for (const RecordRow& row : kRecords) {
            Layout layout;
            layout.name = row.name;
            layout.size = row.size;
            layout.fields.assign(row.fields, row.fields + row.fieldCount);
            layout.record = true;
            all.push_back(layout);
        }
        return all;
    }();
    return records;
}

// The plain shapes of the procedure reference whose values are numbers.
struct NumberShape {
    const char* type;
    FieldKind kind;
    std::size_t elementSize;
};
const NumberShape kNumberShapes[] = {
    {"u32", FieldKind::U32, 4},
    {"i32", FieldKind::I32, 4},
    {"two u32", FieldKind::U32, 4},
    {"double", FieldKind::Real, sizeof(double)},
};

Layout OneField(const std::string& name, const char* field, std::size_t size, FieldKind kind,
                std::size_t count) {
    Layout layout;
    layout.name = name;
    layout.size = size;
    layout.fields.push_back(FieldLayout{field, 0, size, kind, count});
    return layout;
}

}  // namespace

const Layout* FindRecordLayout(const std::string& name) {
    for (const Layout& layout : Records()) {
        if (layout.name == name) {
            return &layout;
        }
    }
    return nullptr;
}

Layout LayoutOfShape(const procref::ParameterShape& shape) {
    if (shape.flow == procref::Flow::None) {
        Layout none;
        none.name = "none";
        return none;
    }
    if (const Layout* record = FindRecordLayout(shape.type)) {
        return *record;
    }
    for (const NumberShape& number : kNumberShapes) {
        if (shape.type == number.type) {
            return OneField(shape.type, "value", shape.size, number.kind,
                            shape.size / number.elementSize);
        }
    }
    if (shape.type.compare(0, 4, "text") == 0) {
        return OneField(shape.type, "text", shape.size, FieldKind::Text, 1);
    }
    return BytesLayout(shape.size);
}

Layout BytesLayout(std::size_t size) {
    Layout layout = OneField(size != 0 ? "bytes " + std::to_string(size) : "bytes", "bytes", size,
                             FieldKind::Bytes, 1);
    layout.varies = size == 0;
    return layout;
}

const FieldLayout* FindField(const Layout& layout, const std::string& name) {
    for (const FieldLayout& field : layout.fields) {
        if (name == field.name) {
            return &field;
        }
    }
    return nullptr;
}

}  // namespace kvtcli
