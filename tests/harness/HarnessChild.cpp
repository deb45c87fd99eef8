// Child process of the harness tests.
//   handle <value>      prints "present" when the handle value is open in this process
//   sleep <ms>          sleeps
//   spawn <then>        starts "sleep 60000" of itself, which inherits this process's
//                       standard handles, prints "grandchild <pid>", then exits
//                       ("exit") or sleeps a minute ("wait")
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/Win32.h"

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "handle" && argc > 2) {
        const auto value = static_cast<std::uintptr_t>(std::strtoull(argv[2], nullptr, 10));
        DWORD flags = 0;
        const bool open = ::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
        std::printf("%s\n", open ? "present" : "absent");
        return 0;
    }
    if (mode == "sleep" && argc > 2) {
        ::Sleep(std::strtoul(argv[2], nullptr, 10));
        return 0;
    }
    if (mode == "spawn" && argc > 2) {
        char self[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string command = std::string("\"") + self + "\" sleep 60000";
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
        si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
            std::printf("spawn failed %lu\n", ::GetLastError());
            return 2;
        }
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        std::printf("grandchild %lu\n", pi.dwProcessId);
        std::fflush(stdout);
        if (std::string(argv[2]) == "wait") {
            ::Sleep(60000);
        }
        return 0;
    }
    std::fprintf(stderr, "unknown mode '%s'\n", mode.c_str());
    return 2;
}
