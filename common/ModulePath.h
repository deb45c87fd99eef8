// The module (DLL or program) whose code calls these, and its file path. Inline: each
// module that includes this header gets its own copy, so ThisModule() is the caller's.
#pragma once

#include <string>

#include "common/Win32.h"

namespace kvt {

inline HMODULE ThisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

// The full path of a module (null: the program); "" when it does not fit MAX_PATH.
inline std::string ModuleFileName(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? std::string() : std::string(path, n);
}

}  // namespace kvt
