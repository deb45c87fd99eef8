#include "factory_api/plugin/VersionResource.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "common/Exception.h"
#include "common/Win32.h"

namespace {

// A file's whole version block, or empty when the file has none. A block that cannot
// be allocated fails with "[VALU] pBlock" (5).
class VersionBlock {
public:
    explicit VersionBlock(const std::string& fullPath) {
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(fullPath.c_str(), &ignored);
        if (size == 0) {
            return;
        }
        _pBlock.reset(new (std::nothrow) unsigned char[size]);
        if (!_pBlock) {
            kvt::Fail("[VALU] pBlock", 5);
        }
        if (!::GetFileVersionInfoA(fullPath.c_str(), 0, size, _pBlock.get())) {
            _pBlock.reset();
        }
    }

    bool Present() const { return static_cast<bool>(_pBlock); }

    // A string value, bounded by the length the resource gives.
    bool QueryText(const std::string& subBlock, std::string& text) const {
        void* value = nullptr;
        UINT length = 0;
        if (!Present() || !::VerQueryValueA(_pBlock.get(), subBlock.c_str(), &value, &length) ||
            value == nullptr) {
            return false;
        }
        const char* chars = static_cast<const char*>(value);
        text.assign(chars, strnlen(chars, length));
        return true;
    }

    // The (language, code page) pairs of the translation table.
    bool QueryTranslations(const WORD*& pairs, std::size_t& count) const {
        void* value = nullptr;
        UINT length = 0;
        if (!Present() ||
            !::VerQueryValueA(_pBlock.get(), "\\VarFileInfo\\Translation", &value, &length) ||
            value == nullptr) {
            return false;
        }
        pairs = static_cast<const WORD*>(value);
        count = length / (2 * sizeof(WORD));
        return true;
    }

private:
    std::unique_ptr<unsigned char[]> _pBlock;
};

}  // namespace

std::string ReadInternalName(const std::string& fullPath) {
    VersionBlock block(fullPath);
    const WORD* pairs = nullptr;
    std::size_t count = 0;
    std::string internalName;
    if (!block.QueryTranslations(pairs, count)) {
        return internalName;
    }
    for (std::size_t i = 0; i < count; ++i) {
        char subBlock[64];
        std::snprintf(subBlock, sizeof(subBlock), "\\StringFileInfo\\%04x%04x\\InternalName",
                      static_cast<unsigned>(pairs[2 * i]), static_cast<unsigned>(pairs[2 * i + 1]));
        if (!block.QueryText(subBlock, internalName)) {
            internalName.clear();
        }
    }
    return internalName;
}

std::string ReadFileVersionText(const std::string& fullPath) {
    VersionBlock block(fullPath);
    std::string version;
    if (block.QueryText("\\StringFileInfo\\041104b0\\FileVersion", version) && !version.empty()) {
        return version;
    }
    return "Unknown";
}
