// Every export of the factory API library ("oxrmsg.dll"), bound by name at run time
// from a loaded library, as a factory program binds them (shared by test programs).
#pragma once

#include "tools/common/FactoryExports.h"

namespace kvttest {

struct FactoryApi : kvttools::FactoryExports {
    // Binds every export of `library`; false (with "@@ missing export <name>" on
    // standard output) when one is absent.
    bool Bind(HMODULE library);
};

}  // namespace kvttest
