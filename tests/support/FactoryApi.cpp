#include "support/FactoryApi.h"

#include <cstdio>

namespace kvttest {

bool FactoryApi::Bind(HMODULE library) {
    const std::vector<std::string> missing = kvttools::BindFactoryExports(library, *this);
    for (const std::string& name : missing) {
        std::printf("@@ missing export %s\n", name.c_str());
    }
    return missing.empty();
}

}  // namespace kvttest
