#include "tools/kvt/FactoryLibrary.h"

#include "tools/kvt/Failures.h"
#include "tools/kvt/ResultCodes.h"

namespace kvtcli {

void FactoryLibrary::Load() {
    if (_module) {
        return;
    }
    kvt::UniqueModule module(::LoadLibraryA("oxrmsg.dll"));
    if (!module) {
        const DWORD error = ::GetLastError();
        throw ToolFailure("cannot load oxrmsg.dll (Windows error " + std::to_string(error) +
                          "); run kvt in the deploy folder, beside oxrmsg.dll and Corvane.dll");
    }
    const std::vector<std::string> missing = kvttools::BindFactoryExports(module.Get(), _api);
    if (!missing.empty()) {
        std::string names;
        for (const std::string& name : missing) {
            names += " " + name;
        }
        throw ToolFailure("oxrmsg.dll lacks the exports" + names);
    }
    _module = std::move(module);
}

std::string FactoryLibrary::Folder() const {
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(_module.Get(), path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

HeldOpen::HeldOpen(const char* openStep, Export open, const char* closeStep, Export close)
    : _closeStep(closeStep), _close(close) {
    const unsigned long result = open();
    if (result != KVT_OK) {
        _open = false;
        Require(openStep, result);
    }
}

HeldOpen::~HeldOpen() {
    if (_open) {
        _close();
    }
}

void HeldOpen::Close() {
    if (_open) {
        _open = false;
        Require(_closeStep, _close());
    }
}

}  // namespace kvtcli
