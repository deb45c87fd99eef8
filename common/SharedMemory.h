// Named shared memory blocks: a named file mapping backed by the paging file and a
// named mutex that guards its content. One subclass per block fixes its name, mutex
// name and size. The blocks carry the few values the modules and processes share.
#pragma once

#include <cstdint>

#include "common/ExportMacros.h"
#include "common/Win32.h"

class KVT_BLOCKS_API CSharedMemory {
public:
    CSharedMemory();
    // Releases nothing: the subclasses release their block.
    virtual ~CSharedMemory();

    // Two objects must never own one mapping, view and mutex: copying is refused.
    CSharedMemory(const CSharedMemory&) = delete;
    CSharedMemory& operator=(const CSharedMemory&) = delete;

    // Creates or opens the block; 1 on success, 0 on failure. The first creator of a
    // block fills it with zeros; a later opener leaves the content alone.
    int MallocSharedMemory(unsigned long size, const char* name, const char* mutexName);
    // Unmaps the view, closes the mapping and the mutex.
    void FreeSharedMemory();

    void* GethSharedMemory();
    void* GetpSharedMemory();
    // The mutex that guards the block's content (null when none).
    HANDLE GethMutex();

protected:
    HANDLE _hSharedMemory;   // mapping; null when the object holds no block
    void* _pSharedMemory;    // view; null when none
    HANDLE _hMutex;          // guards the content
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
class KVT_BLOCKS_API CKVTItoPTPSharedMemory : public CSharedMemory {
public:
    CKVTItoPTPSharedMemory();
    ~CKVTItoPTPSharedMemory() override;
    void Set(HINSTANCE* value);
    void Get(HINSTANCE* value);
};

// "SHARED_NAME_CameraHandle", 261: a camera handle in word 0.
class KVT_BLOCKS_API CCameraHandleSharedMemory : public CSharedMemory {
public:
    CCameraHandleSharedMemory();
    ~CCameraHandleSharedMemory() override;
    void Set(unsigned long* value);
    void Get(unsigned long* value);
};
