#include "robustness/ConcurrentWorker.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/Handles.h"

namespace robust {
namespace {

constexpr unsigned kPathBlockSize = 261;
constexpr unsigned kNameBlockSize = 128;

// The bytes of a named block as another process sees them, read under its mutex.
std::vector<unsigned char> ReadBlock(const char* name, const char* mutexName, unsigned size) {
    std::vector<unsigned char> bytes;
    kvt::UniqueKernelHandle mapping(::OpenFileMappingA(FILE_MAP_READ, FALSE, name));
    // Created when absent, as the library does: the mutex of the name block exists only
    // while some process holds it.
    kvt::UniqueKernelHandle mutex(::CreateMutexA(nullptr, FALSE, mutexName));
    if (!mapping || !mutex) {
        return bytes;
    }
    kvt::UniqueMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, size));
    if (!view) {
        return bytes;
    }
    kvt::MutexLock lock(mutex.Get());
    const auto* p = static_cast<const unsigned char*>(view.Get());
    bytes.assign(p, p + size);
    return bytes;
}

// Whether a block read holds a torn value: no terminating zero, bytes after it that are
// not zero (the library zeroes the block before it copies a value), or one of the
// workers' values ("<prefix><letter>-<digits><suffix>") cut or mixed with another.
// Values of other programs (other tests run at the same time) are whole as they are.
bool Torn(const std::vector<unsigned char>& block, const std::string& prefix, const std::string& suffix) {
    if (block.empty()) {
        return false;   // the block does not exist at the moment
    }
    const std::size_t length = strnlen(reinterpret_cast<const char*>(block.data()), block.size());
    if (length == block.size()) {
        return true;
    }
    for (std::size_t i = length; i < block.size(); ++i) {
        if (block[i] != 0) {
            return true;
        }
    }
    const std::string text(reinterpret_cast<const char*>(block.data()), length);
    if (text.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    if (text.size() < prefix.size() + suffix.size() + 3 ||
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return true;
    }
    const std::string rest = text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
    return rest[0] < 'A' || rest[0] > 'Z' || rest[1] != '-' ||
           rest.find_first_not_of("0123456789", 2) != std::string::npos;
}

}  // namespace

int RunWorker(DriverContext& ctx, const std::string& tag, unsigned long rounds) {
    kvttest::FactoryApi& api = ctx.api;
    // The library holds the procedure-name block only during a call; held here too, its
    // last content stays readable between the calls.
    kvt::UniqueKernelHandle nameBlock(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                           kNameBlockSize, "SHARED_NAME_EVENTPROCNAME"));
    unsigned torn = 0;
    unsigned failures = 0;
    if (api.openDevice() != 0) {
        ++failures;
    }
    unsigned char body[20] = {};
    for (unsigned long i = 0; i < rounds; ++i) {
        const std::string n = tag + "-" + std::to_string(i);
        // Each of these writes one log line carrying the tag and the round.
        failures += api.setFilePath(("file-" + n).c_str()) != 0 ? 1u : 0u;
        failures += api.setFolderPath(("folder-" + n + "\\").c_str()) != 0 ? 1u : 0u;
        failures += api.executeEventProc(("Tag" + n).c_str(), nullptr) != 35 ? 1u : 0u;
        failures += api.executeEventProcS("GetBodyID", body, sizeof(body)) != 0 ? 1u : 0u;
        // What the other processes wrote meanwhile is whole, never a mix of two values.
        torn += Torn(ReadBlock("SHARED_NAME_FILE", "MUTEX_NAME_FILE", kPathBlockSize), "file-", "") ? 1u : 0u;
        torn += Torn(ReadBlock("SHARED_NAME_FOLDER", "MUTEX_NAME_FOLDER", kPathBlockSize), "folder-", "\\")
                    ? 1u : 0u;
        torn += Torn(ReadBlock("SHARED_NAME_EVENTPROCNAME", "MUTEX_NAME_EVENTPROCNAME", kNameBlockSize), "Tag", "")
                    ? 1u : 0u;
    }
    Emit("worker " + tag + " rounds=" + std::to_string(rounds) + " torn=" + std::to_string(torn) +
         " failures=" + std::to_string(failures));
    return 0;
}

int RunForeignCommonModule(DriverContext& ctx) {
    // An address that is no module of this process and fits the block's 32 bits: the
    // first free, allocation-aligned address of the address space (a 32-bit process has
    // little free room, so the whole range is walked region by region).
    std::uint32_t foreign = 0;
    std::uintptr_t at = 0x10000;
    MEMORY_BASIC_INFORMATION info{};
    while (foreign == 0 && at < 0xFFFF0000u &&
           ::VirtualQuery(reinterpret_cast<void*>(at), &info, sizeof(info)) == sizeof(info)) {
        const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
        const std::uintptr_t aligned = (at + 0xFFFF) & ~static_cast<std::uintptr_t>(0xFFFF);
        if (info.State == MEM_FREE && aligned < end && aligned < 0xFFFF0000u) {
            foreign = static_cast<std::uint32_t>(aligned);
        }
        at = end;
    }
    {
        kvt::UniqueKernelHandle mapping(::OpenFileMappingA(FILE_MAP_WRITE, FALSE, "SHARED_NAME_HANDLE"));
        kvt::UniqueKernelHandle mutex(::CreateMutexA(nullptr, FALSE, "MUTEX_NAME_HANDLE"));
        kvt::UniqueMappedView view(mapping ? ::MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 4) : nullptr);
        if (!view || !mutex || foreign == 0) {
            Emit("foreign cannot write the block");
            return 1;
        }
        kvt::MutexLock lock(mutex.Get());
        std::memcpy(view.Get(), &foreign, sizeof(foreign));
    }
    const unsigned long open = ctx.api.openDevice();
    const unsigned long debug = ctx.api.debug();
    Emit("foreign open=" + std::to_string(open) + " debug=" + std::to_string(debug));
    return 0;
}

int HoldMutex(const std::string& names) {
    // Several names separated by ','.
    std::vector<HANDLE> held;
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t comma = names.find(',', start);
        const std::string name = names.substr(start, comma - start);
        HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name.c_str());
        if (mutex == nullptr || ::WaitForSingleObject(mutex, 10000) == WAIT_TIMEOUT) {
            Emit("cannot hold " + name);
            return 1;
        }
        held.push_back(mutex);
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    Emit("holding " + names);
    ::Sleep(INFINITE);
    return 0;
}

}  // namespace robust
