#include "common/SharedMemory.h"

#include <cstring>

CSharedMemory::CSharedMemory()
    : _hSharedMemory(nullptr), _pSharedMemory(nullptr), _hMutex(nullptr), _Size(0) {}

CSharedMemory::~CSharedMemory() {
    FreeSharedMemory();
}

// The mutex is created first and held while the mapping is created and, when it is
// new, zero-filled: an opener in another process that writes right after opening the
// block waits for that lock, so the creator's zero-fill can never wipe its value.
int CSharedMemory::MallocSharedMemory(unsigned long size, const char* name,
                                      const char* mutexName) {
    FreeSharedMemory();
    if (name == nullptr || size == 0) {
        return 0;
    }

    // A mutex that cannot be created is not a failure of the block; the block is then
    // unusable for kvt::BlockAccess, which never touches content without the lock.
    kvt::UniqueKernelHandle mutex(
        mutexName != nullptr ? ::CreateMutexA(nullptr, FALSE, mutexName) : nullptr);
    kvt::UniqueKernelHandle mapping;
    kvt::UniqueMappedView view;
    {
        kvt::MutexLock creating(mutex.Get());
        // CreateMutexA may have left ERROR_ALREADY_EXISTS behind.
        ::SetLastError(ERROR_SUCCESS);
        mapping.Reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           size, name));
        const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
        if (!mapping) {
            return 0;
        }
        view.Reset(::MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
        if (!view) {
            return 0;
        }
        if (!existed) {
            std::memset(view.Get(), 0, size);
        }
    }
    _hSharedMemory = mapping.Release();
    _pSharedMemory = view.Release();
    _hMutex = mutex.Release();
    _Size = size;
    return 1;
}

void CSharedMemory::FreeSharedMemory() {
    if (_pSharedMemory != nullptr) {
        ::UnmapViewOfFile(_pSharedMemory);
    }
    if (_hSharedMemory != nullptr) {
        ::CloseHandle(_hSharedMemory);
    }
    if (_hMutex != nullptr) {
        ::CloseHandle(_hMutex);
    }
    _pSharedMemory = nullptr;
    _hSharedMemory = nullptr;
    _hMutex = nullptr;
    _Size = 0;
}

void* CSharedMemory::GethSharedMemory() {
    return _hSharedMemory;
}

void* CSharedMemory::GetpSharedMemory() {
    return _pSharedMemory;
}

HANDLE CSharedMemory::GethMutex() {
    return _hMutex;
}

unsigned long CSharedMemory::GetSize() {
    return _Size;
}
