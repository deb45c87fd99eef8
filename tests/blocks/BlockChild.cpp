// Child process of the block tests: one access to a named block per run.
//   get-camera | get-kvti            prints "ok 0x<word>" or "fail 0x<word>"
//   set-camera <v> | set-kvti <v>    stores v, prints "ok" or "fail"
//   hold-locked <v>                  stores v, prints "locked" and waits forever while
//                                    holding the block's mutex (to be killed)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/SharedMemory.h"

namespace {

unsigned long Number(int argc, char** argv) {
    return argc > 2 ? std::strtoul(argv[2], nullptr, 0) : 0;
}

int Print(bool ok, unsigned long value) {
    std::printf("%s 0x%08lx\n", ok ? "ok" : "fail", value);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "get-camera") {
        CCameraHandleSharedMemory block;
        unsigned long value = 0xFFFFFFFFu;
        const bool ok = block.Get(&value);
        return Print(ok, value);
    }
    if (mode == "set-camera") {
        CCameraHandleSharedMemory block;
        unsigned long value = Number(argc, argv);
        return Print(block.Set(&value), value);
    }
    if (mode == "get-kvti") {
        CKVTItoPTPSharedMemory block;
        HINSTANCE value = nullptr;
        const bool ok = block.Get(&value);
        return Print(ok, kvt::ModuleHandleToWord(value));
    }
    if (mode == "set-kvti") {
        CKVTItoPTPSharedMemory block;
        HINSTANCE value = kvt::WordToModuleHandle(Number(argc, argv));
        return Print(block.Set(&value), Number(argc, argv));
    }
    if (mode == "hold-locked") {
        CCameraHandleSharedMemory block;
        kvt::BlockAccess access(block);
        const bool ok = access.Write(static_cast<std::uint32_t>(Number(argc, argv)));
        std::printf("%s\n", ok ? "locked" : "fail");
        std::fflush(stdout);
        ::Sleep(INFINITE);
        return 0;
    }
    std::fprintf(stderr, "unknown mode '%s'\n", mode.c_str());
    return 2;
}
