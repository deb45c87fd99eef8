// Proves at compile time that the SDK's public headers (include/) declare every export
// of oxrmsg.dll with exactly the type the library itself declares, calling convention
// included (the 32-bit build is where __stdcall and __cdecl differ), and that the
// public records have the layouts the library and its plug-in use. Nothing here runs.
//
// The public header is compiled inside namespace sdk with its functions renamed
// (sdk_check_renames.h, generated from the header), so both declarations of each export
// can stand side by side; sdk_check_exports.h lists the library's exports (from its
// .def file) and stops the build for a name that only one side has.
#include <stdint.h>

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "factory_api/KvtQ517Exports.h"
#if __has_include("factory_api/PropertyFileExports.h")
#include "factory_api/PropertyFileExports.h"
#endif
#include "plugins/pellor/DataRecords.h"

#include "sdk_check_renames.h"
namespace sdk {
#include "kvt_factory.h"
}  // namespace sdk
#include "sdk_check_unrenames.h"

#include "sdk_check_exports.h"

namespace {

// The library's type for a type of the public header: the records map to the
// library's own, everything else stays.
template <class T>
struct Library {
    using type = T;
};
template <>
struct Library<sdk::ReleaseParameter> {
    using type = ::ReleaseParameter;
};
template <class T>
struct Library<T*> {
    using type = typename Library<T>::type*;
};
template <class T>
struct Library<const T> {
    using type = const typename Library<T>::type;
};
template <class R, class... A>
struct Library<R(__stdcall*)(A...)> {
    using type = typename Library<R>::type(__stdcall*)(typename Library<A>::type...);
};

#define KVT_SDK_SAME_EXPORT(name)                                                     \
    static_assert(std::is_same<Library<decltype(&sdk::sdk_##name)>::type,              \
                               decltype(&::name)>::value,                             \
                  "kvt_factory.h declares " #name " unlike the library");
KVT_SDK_EXPORTS(KVT_SDK_SAME_EXPORT)

// Same offset and same type for a field of a public record and the library's record.
#define KVT_SDK_SAME_FIELD(Public, Own, field)                                        \
    static_assert(offsetof(Public, field) == offsetof(Own, field) &&                   \
                      std::is_same<decltype(Public::field), decltype(Own::field)>::value, \
                  #Public "::" #field " differs from the library's record");
#define KVT_SDK_SAME_SIZE(Public, Own) \
    static_assert(sizeof(Public) == sizeof(Own), #Public " differs in size from the library's record");

KVT_SDK_SAME_SIZE(sdk::ReleaseParameter, ::ReleaseParameter)
KVT_SDK_SAME_FIELD(sdk::ReleaseParameter, ::ReleaseParameter, Word)

KVT_SDK_SAME_SIZE(sdk::PROPERTY_DATA_T, pellor::PROPERTY_DATA_T)
KVT_SDK_SAME_FIELD(sdk::PROPERTY_DATA_T, pellor::PROPERTY_DATA_T, szName)
KVT_SDK_SAME_FIELD(sdk::PROPERTY_DATA_T, pellor::PROPERTY_DATA_T, ID)
KVT_SDK_SAME_FIELD(sdk::PROPERTY_DATA_T, pellor::PROPERTY_DATA_T, Size)

KVT_SDK_SAME_SIZE(sdk::BODYID_T, pellor::BODYID_T)
KVT_SDK_SAME_FIELD(sdk::BODYID_T, pellor::BODYID_T, ManufactureMonth)
KVT_SDK_SAME_FIELD(sdk::BODYID_T, pellor::BODYID_T, Second)
KVT_SDK_SAME_FIELD(sdk::BODYID_T, pellor::BODYID_T, Third)
KVT_SDK_SAME_FIELD(sdk::BODYID_T, pellor::BODYID_T, Fourth)
KVT_SDK_SAME_FIELD(sdk::BODYID_T, pellor::BODYID_T, SerialNo)

KVT_SDK_SAME_SIZE(sdk::ABOARD_EEPROM_DATA_T, pellor::ABOARD_EEPROM_DATA_T)
KVT_SDK_SAME_FIELD(sdk::ABOARD_EEPROM_DATA_T, pellor::ABOARD_EEPROM_DATA_T, Data)
KVT_SDK_SAME_FIELD(sdk::ABOARD_EEPROM_DATA_T, pellor::ABOARD_EEPROM_DATA_T, Address)
KVT_SDK_SAME_FIELD(sdk::ABOARD_EEPROM_DATA_T, pellor::ABOARD_EEPROM_DATA_T, Count)

KVT_SDK_SAME_SIZE(sdk::DIGITAL_PARA_ADJ_T, pellor::DIGITAL_PARA_ADJ_T)
KVT_SDK_SAME_FIELD(sdk::DIGITAL_PARA_ADJ_T, pellor::DIGITAL_PARA_ADJ_T, DeltaX)
KVT_SDK_SAME_FIELD(sdk::DIGITAL_PARA_ADJ_T, pellor::DIGITAL_PARA_ADJ_T, DeltaY)

// The plug-in keeps the date-time record as six int32 values: year, month, day, hour,
// minute, second.
static_assert(sizeof(sdk::DATETIME_T) == 6 * sizeof(std::int32_t) &&
                  offsetof(sdk::DATETIME_T, Year) == 0 && offsetof(sdk::DATETIME_T, Month) == 4 &&
                  offsetof(sdk::DATETIME_T, Day) == 8 && offsetof(sdk::DATETIME_T, Hour) == 12 &&
                  offsetof(sdk::DATETIME_T, Minute) == 16 && offsetof(sdk::DATETIME_T, Second) == 20,
              "DATETIME_T is six int32 values, year first");

}  // namespace
