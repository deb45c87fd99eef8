#include "robustness/ConcurrentWorker.h"

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

// A whole value: "<prefix><letter>-<digits><suffix>", then zeros to the end.
bool Whole(const std::vector<unsigned char>& block, const std::string& prefix, const std::string& suffix) {
    const std::size_t length = strnlen(reinterpret_cast<const char*>(block.data()), block.size());
    if (length == block.size()) {
        return false;
    }
    for (std::size_t i = length; i < block.size(); ++i) {
        if (block[i] != 0) {
            return false;
        }
    }
    const std::string text(reinterpret_cast<const char*>(block.data()), length);
    if (text.compare(0, prefix.size(), prefix) != 0 || text.size() < prefix.size() + suffix.size() + 3 ||
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    const std::string rest = text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
    if (rest.size() < 3 || rest[0] < 'A' || rest[0] > 'Z' || rest[1] != '-') {
        return false;
    }
    return rest.find_first_not_of("0123456789", 2) == std::string::npos;
}

}  // namespace

int RunWorker(DriverContext& ctx, const std::string& tag, unsigned long rounds) {
    FactoryApi& api = ctx.api;
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
        torn += Whole(ReadBlock("SHARED_NAME_FILE", "MUTEX_NAME_FILE", kPathBlockSize), "file-", "") ? 0u : 1u;
        torn += Whole(ReadBlock("SHARED_NAME_FOLDER", "MUTEX_NAME_FOLDER", kPathBlockSize), "folder-", "\\")
                    ? 0u : 1u;
        const std::vector<unsigned char> name =
            ReadBlock("SHARED_NAME_EVENTPROCNAME", "MUTEX_NAME_EVENTPROCNAME", kNameBlockSize);
        const bool procedure = !name.empty() && std::strcmp(reinterpret_cast<const char*>(name.data()), "GetBodyID") == 0;
        torn += procedure || Whole(name, "Tag", "") ? 0u : 1u;
    }
    Emit("worker " + tag + " rounds=" + std::to_string(rounds) + " torn=" + std::to_string(torn) +
         " failures=" + std::to_string(failures));
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
