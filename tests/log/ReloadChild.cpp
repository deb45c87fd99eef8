// Child process of the log tests, without Corvane in its import table: loads the
// Corvane.dll named on the command line, reads the handle it published in
// "SHARED_NAME_HANDLE", and frees it again; twice.
// Prints "module=0x<handle> published=0x<word>" for each load.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/Handles.h"

namespace {

std::uint32_t PublishedHandle() {
    kvt::UniqueKernelHandle mapping(::OpenFileMappingA(FILE_MAP_READ, FALSE, "SHARED_NAME_HANDLE"));
    kvt::UniqueKernelHandle mutex(::OpenMutexA(SYNCHRONIZE, FALSE, "MUTEX_NAME_HANDLE"));
    if (!mapping || !mutex) {
        return 0;
    }
    kvt::UniqueMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 4));
    kvt::MutexLock lock(mutex.Get());
    std::uint32_t word = 0;
    if (view && lock.Owned()) {
        std::memcpy(&word, view.Get(), sizeof(word));
    }
    return word;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    for (int round = 0; round < 2; ++round) {
        HMODULE module = ::LoadLibraryA(argv[1]);
        if (module == nullptr) {
            std::printf("load failed %lu\n", ::GetLastError());
            return 1;
        }
        std::printf("module=0x%08x published=0x%08x\n",
                    static_cast<unsigned>(kvt::ModuleHandleToWord(module)),
                    static_cast<unsigned>(PublishedHandle()));
        std::fflush(stdout);
        ::FreeLibrary(module);
    }
    return 0;
}
