// Run-time binding of the factory API library, loaded under the file name
// "oxrmsg.dll". The tool does not link it: only these six exports tie them together.
#pragma once

#include "common/Handles.h"
#include "console/FactoryApi.h"

namespace tavol {

class CFactoryLibrary {
public:
    // Loads "oxrmsg.dll" by its bare file name (the system's search order finds it)
    // and binds the six exports by name. True only if all six were found. A library
    // that loaded but lacks an export stays loaded until Unload.
    bool Load();
    // Frees the library (if loaded) and forgets the bound exports.
    void Unload();

    const FactoryApi& Api() const { return _api; }

private:
    kvt::UniqueModule _module;
    FactoryApi _api;
};

}  // namespace tavol
