// Named shared memory blocks: a named file mapping backed by the paging file and a
// named mutex that guards its content. One subclass per block fixes its name, mutex
// name and size. The blocks carry the few values the modules and processes share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "common/ExportMacros.h"
#include "common/Handles.h"
#include "common/Win32.h"

class KVT_BLOCKS_API CSharedMemory {
public:
    CSharedMemory();
    // Releases the block if the object still holds one (a plain CSharedMemory would
    // otherwise keep its block alive until the process ends).
    virtual ~CSharedMemory();

    // Two objects must never own one mapping, view and mutex: copying is refused.
    CSharedMemory(const CSharedMemory&) = delete;
    CSharedMemory& operator=(const CSharedMemory&) = delete;

    // Creates or opens the block; 1 on success, 0 on failure. The first creator of a
    // block fills it with zeros; a later opener leaves the content alone. A block the
    // object already holds is released first.
    int MallocSharedMemory(unsigned long size, const char* name, const char* mutexName);
    // Unmaps the view, closes the mapping and the mutex.
    void FreeSharedMemory();

    void* GethSharedMemory();
    void* GetpSharedMemory();
    // The mutex that guards the block's content (null when none).
    HANDLE GethMutex();
    // The size the block was created or opened with (0 when none).
    unsigned long GetSize();

protected:
    HANDLE _hSharedMemory;   // mapping; null when the object holds no block
    void* _pSharedMemory;    // view; null when none
    HANDLE _hMutex;          // guards the content
    unsigned long _Size;     // bytes of the view that belong to the block
};

// Declares a named block class with its default constructor and releasing destructor.
#define KVT_DECLARE_SHARED_BLOCK(ClassName)              \
    class KVT_BLOCKS_API ClassName : public CSharedMemory { \
    public:                                              \
        ClassName();                                     \
        ~ClassName() override;                           \
    }

KVT_DECLARE_SHARED_BLOCK(CCommonModuleSharedMemory);   // "SHARED_NAME_HANDLE", 4
KVT_DECLARE_SHARED_BLOCK(CModelIDSharedMemory);        // "SHARED_NAME_MODELID", 4
KVT_DECLARE_SHARED_BLOCK(CBodyIDSharedMemory);         // "SHARED_NAME_BODYID", 8
KVT_DECLARE_SHARED_BLOCK(CParserHandleSharedMemory);   // "SHARED_NAME_PARSER_HANDLE", 4
KVT_DECLARE_SHARED_BLOCK(CConfigurationSharedMemory);  // "SHARED_NAME_CONFIGURATION", 261
KVT_DECLARE_SHARED_BLOCK(CEventProcNameSharedMemory);  // "SHARED_NAME_EVENTPROCNAME", 128
KVT_DECLARE_SHARED_BLOCK(CFileSharedMemory);           // "SHARED_NAME_FILE", 261
KVT_DECLARE_SHARED_BLOCK(CFolderSharedMemory);         // "SHARED_NAME_FOLDER", 261

// "SHARED_NAME_KVTItoPTP", 261: the transport library's module handle in word 0.
// Set and Get work under the block's mutex and return false (with a log line) when
// they store or read nothing: null pointer, no block, or a handle that does not fit
// 32 bits (refused, never cut). Get stores 0 when it reads nothing.
class KVT_BLOCKS_API CKVTItoPTPSharedMemory : public CSharedMemory {
public:
    CKVTItoPTPSharedMemory();
    ~CKVTItoPTPSharedMemory() override;
    bool Set(HINSTANCE* value);
    bool Get(HINSTANCE* value);
};

// "SHARED_NAME_CameraHandle", 261: a camera handle in word 0 (unsigned long is 32 bits
// on Windows). Set and Get behave as those of CKVTItoPTPSharedMemory.
class KVT_BLOCKS_API CCameraHandleSharedMemory : public CSharedMemory {
public:
    CCameraHandleSharedMemory();
    ~CCameraHandleSharedMemory() override;
    bool Set(unsigned long* value);
    bool Get(unsigned long* value);
};

namespace kvt {

// One access to a block's content: holds the block's mutex from construction to
// destruction (an abandoned mutex counts as held). Without a view or without the
// lock, Valid() is false and every read and write does nothing and returns false.
// Every access to a block goes through one of these, for a single read or write;
// never hold two at once.
//
//     kvt::BlockAccess access(*m_pModelIDSharedMemory);
//     std::uint32_t id = 0;
//     if (!access.Read(id)) { ...no block... }
class BlockAccess {
public:
    explicit BlockAccess(CSharedMemory& block) noexcept
        : _view(static_cast<unsigned char*>(block.GetpSharedMemory())),
          _size(block.GetSize()),
          _lock(_view != nullptr ? block.GethMutex() : nullptr) {}
    BlockAccess(const BlockAccess&) = delete;
    BlockAccess& operator=(const BlockAccess&) = delete;

    bool Valid() const noexcept { return _view != nullptr && _lock.Owned(); }
    // The view while the lock is held, else null.
    unsigned char* Data() const noexcept { return Valid() ? _view : nullptr; }
    std::size_t Size() const noexcept { return Valid() ? _size : 0; }

    // Trivially copyable values at a byte offset; false if they do not fit the block.
    template <class T>
    bool Read(T& out, std::size_t offset = 0) const noexcept {
        if (!Fits(offset, sizeof(T))) {
            return false;
        }
        std::memcpy(&out, _view + offset, sizeof(T));
        return true;
    }
    template <class T>
    bool Write(const T& value, std::size_t offset = 0) noexcept {
        if (!Fits(offset, sizeof(T))) {
            return false;
        }
        std::memcpy(_view + offset, &value, sizeof(T));
        return true;
    }
    // Sets the whole block to zero.
    bool Clear() noexcept {
        if (!Valid()) {
            return false;
        }
        std::memset(_view, 0, _size);
        return true;
    }
    // Stores text with its terminating zero and zero-fills the rest of the block.
    // A text that does not fit (with its zero) is refused, never cut.
    bool WriteText(std::string_view text) noexcept {
        if (!Valid() || text.size() >= _size) {
            return false;
        }
        std::memcpy(_view, text.data(), text.size());
        std::memset(_view + text.size(), 0, _size - text.size());
        return true;
    }
    // The text up to the first zero byte, never beyond the block.
    std::string ReadText() const {
        if (!Valid()) {
            return std::string();
        }
        const void* zero = std::memchr(_view, 0, _size);
        const std::size_t n = zero != nullptr
            ? static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - _view)
            : _size;
        return std::string(reinterpret_cast<const char*>(_view), n);
    }

private:
    bool Fits(std::size_t offset, std::size_t n) const noexcept {
        return Valid() && offset <= _size && n <= _size - offset;
    }

    unsigned char* _view;
    std::size_t _size;
    MutexLock _lock;
};

}  // namespace kvt
