#include "simulator/recorder/SafeRead.h"

#include <cstdint>
#include <cstring>

#include "common/Win32.h"

namespace kvtrecorder {
namespace {

constexpr std::uintptr_t kPage = 4096;

bool ReadableProtection(DWORD protect) {
    if ((protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0) {
        return false;
    }
    return (protect & (PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                       PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) != 0;
}

}  // namespace

bool Readable(const void* address, std::size_t size) {
    std::uintptr_t at = reinterpret_cast<std::uintptr_t>(address);
    if (size == 0) {
        return true;
    }
    if (at == 0 || at + size < at) {
        return false;
    }
    const std::uintptr_t end = at + size;
    // One query per region of like pages.
    while (at < end) {
        MEMORY_BASIC_INFORMATION region;
        if (::VirtualQuery(reinterpret_cast<const void*>(at), &region, sizeof(region)) == 0 ||
            region.State != MEM_COMMIT || !ReadableProtection(region.Protect)) {
            return false;
        }
        at = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
    }
    return true;
}

bool SafeRead(const void* address, std::size_t size, std::string* bytes) {
    if (!Readable(address, size)) {
        return false;
    }
    bytes->assign(static_cast<const char*>(address), size);
    return true;
}

bool SafeReadName(const char* name, std::size_t limit, std::string* text) {
    std::string out;
    std::uintptr_t at = reinterpret_cast<std::uintptr_t>(name);
    // Page by page: a name that ends just before an unreadable page is still read.
    while (out.size() < limit) {
        const std::size_t room = static_cast<std::size_t>(kPage - at % kPage);
        const std::size_t want = room < limit - out.size() ? room : limit - out.size();
        const char* chunk = reinterpret_cast<const char*>(at);
        if (!Readable(chunk, want)) {
            break;
        }
        const std::size_t length = strnlen(chunk, want);
        out.append(chunk, length);
        if (length < want) {
            *text = std::move(out);
            return true;
        }
        at += want;
    }
    if (at == reinterpret_cast<std::uintptr_t>(name)) {
        return false;
    }
    *text = std::move(out);
    return true;
}

}  // namespace kvtrecorder
