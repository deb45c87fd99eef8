// Run-time binding of the factory API library, loaded under the file name
// "oxrmsg.dll". The tool does not link it: only these six exports tie them together.
#pragma once

#include <cstdint>

#include "common/Handles.h"

namespace tavol {

using KvtNoArgsFn = std::uint32_t(__stdcall*)();
using KvtChangeBankFn = std::uint32_t(__stdcall*)(std::uint32_t bank);
using KvtReadMemoryFn = std::uint32_t(__stdcall*)(std::uint32_t address, std::uint32_t size,
                                                  std::uint8_t* buffer);

// The bound exports; each returns 0 on success.
struct FactoryApi {
    KvtNoArgsFn openDevice = nullptr;
    KvtNoArgsFn monitorOpenSession = nullptr;
    KvtNoArgsFn monitorCloseSession = nullptr;
    KvtNoArgsFn closeDevice = nullptr;
    KvtChangeBankFn monitorChangeBank = nullptr;
    KvtReadMemoryFn monitorReadMemory = nullptr;
};

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
