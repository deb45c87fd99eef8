// Compile-time checks of the SDK's public header against the library's export list
// (KvtQ517.def). Nothing here runs.
//
// sdk_check_exports.h, generated from the .def and the header, lists the exports and
// stops the build for a name that only one side has. Each export must be declared as a
// standard-call function returning the unsigned 32-bit result: the import libraries take
// each name's "@n" decoration from the header, so a declaration without KVT_CALL would
// give them a wrong one (the 32-bit build is where __stdcall and __cdecl differ).
//
// The library compiles its export definitions against this same header, and the record
// sizes are checked in kvt_records.h itself, so neither needs a second comparison here.
#include <type_traits>

#include "kvt_factory.h"

#include "sdk_check_exports.h"

namespace {

template <class F>
struct IsExportType : std::false_type {};
template <class... A>
struct IsExportType<unsigned long(__stdcall*)(A...)> : std::true_type {};

#define KVT_SDK_EXPORT_TYPE(name)                                  \
    static_assert(IsExportType<decltype(&::name)>::value,          \
                  "kvt_factory.h must declare " #name " as unsigned long KVT_CALL");
KVT_SDK_EXPORTS(KVT_SDK_EXPORT_TYPE)

}  // namespace
