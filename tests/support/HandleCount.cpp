#include "support/HandleCount.h"

#include <cstdint>
#include <vector>

#include "common/Win32.h"

namespace kvttest {
namespace {

// SystemExtendedHandleInformation (class 64) of NtQuerySystemInformation.
constexpr unsigned long kExtendedHandleInformation = 64;
constexpr long kInfoLengthMismatch = static_cast<long>(0xC0000004L);

struct HandleEntry {
    void* object;
    std::uintptr_t processId;
    std::uintptr_t handleValue;
    unsigned long grantedAccess;
    unsigned short creatorBackTraceIndex;
    unsigned short objectTypeIndex;
    unsigned long handleAttributes;
    unsigned long reserved;
};

struct HandleTable {
    std::uintptr_t count;
    std::uintptr_t reserved;
    HandleEntry entries[1];
};

typedef long(__stdcall* QuerySystemInformation_t)(unsigned long, void*, unsigned long,
                                                   unsigned long*);

unsigned CountInSystemTable() {
    static const auto query = reinterpret_cast<QuerySystemInformation_t>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"),
                                                      "NtQuerySystemInformation")));
    if (query == nullptr) {
        return 0;
    }
    static std::vector<unsigned char> buffer(1u << 18);
    for (int attempt = 0; attempt < 8; ++attempt) {
        unsigned long needed = 0;
        const long status = query(kExtendedHandleInformation, buffer.data(),
                                  static_cast<unsigned long>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0) {
            return 0;
        }
        const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
        const std::uintptr_t self = ::GetCurrentProcessId();
        unsigned n = 0;
        for (std::uintptr_t i = 0; i < table->count; ++i) {
            n += table->entries[i].processId == self ? 1u : 0u;
        }
        return n;
    }
    return 0;
}

}  // namespace

unsigned ProcessHandleCount() {
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count != 0) {
        return count;
    }
    return CountInSystemTable();
}

}  // namespace kvttest
