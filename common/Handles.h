// Owners for Win32 resources: one small RAII type per handle kind.
// Null-invalid handles (mutex, mapping, event, thread, module) are kept apart from
// INVALID_HANDLE_VALUE ones (file, find).
#pragma once

#include <cstdint>
#include <utility>

#include "common/Win32.h"

namespace kvt {

template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept : _h(Traits::Invalid()) {}
    explicit UniqueHandle(Type h) noexcept : _h(h) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : _h(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    Type Get() const noexcept { return _h; }
    bool Valid() const noexcept { return _h != Traits::Invalid(); }
    explicit operator bool() const noexcept { return Valid(); }

    Type Release() noexcept { return std::exchange(_h, Traits::Invalid()); }
    void Reset(Type h = Traits::Invalid()) noexcept {
        Type old = std::exchange(_h, h);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

private:
    Type _h;
};

struct KernelHandleTraits {  // mutex, mapping, event, thread, process
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::FreeLibrary(h); }
};
struct MappedViewTraits {
    using Type = void*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type p) noexcept { ::UnmapViewOfFile(p); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueMappedView = UniqueHandle<MappedViewTraits>;

// Holds a mutex from construction to destruction. A mutex abandoned by a thread or
// process that died while holding it is owned all the same (WAIT_ABANDONED).
// A null mutex is not waited on; Owned() tells whether the lock is held.
class MutexLock {
public:
    explicit MutexLock(HANDLE mutex) noexcept : _mutex(mutex) {
        if (_mutex != nullptr) {
            DWORD r = ::WaitForSingleObject(_mutex, INFINITE);
            _owned = (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED);
        }
    }
    ~MutexLock() {
        if (_owned) {
            ::ReleaseMutex(_mutex);
        }
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

    bool Owned() const noexcept { return _owned; }

private:
    HANDLE _mutex;
    bool _owned = false;
};

// Module handles travel as 32-bit words in shared blocks. A handle above 4 GB does
// not fit: the caller must refuse it, never cut it.
inline bool ModuleHandleFitsWord(HMODULE h) noexcept {
    return reinterpret_cast<std::uintptr_t>(h) <= 0xFFFFFFFFu;
}
inline std::uint32_t ModuleHandleToWord(HMODULE h) noexcept {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(h));
}
inline HMODULE WordToModuleHandle(std::uint32_t word) noexcept {
    return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(word));
}

}  // namespace kvt
