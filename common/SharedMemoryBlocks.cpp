// The named blocks: one row per block, with its block name, mutex name and size. Every
// module that has these classes creates and opens the blocks with the same three.
#include "common/SharedMemory.h"

#include <string>

#include "common/LogFile.h"
#include "common/LogStream.h"

namespace {

kvtlog::LogStream s_log;

struct BlockDefinition {
    const char* name;
    const char* mutexName;
    unsigned long size;
};

constexpr BlockDefinition kCommonModule{"SHARED_NAME_HANDLE", "MUTEX_NAME_HANDLE", 4};
constexpr BlockDefinition kModelID{"SHARED_NAME_MODELID", "MUTEX_NAME_MODELID", 4};
constexpr BlockDefinition kBodyID{"SHARED_NAME_BODYID", "MUTEX_NAME_BODYID", 8};
constexpr BlockDefinition kParserHandle{"SHARED_NAME_PARSER_HANDLE",
                                        "MUTEX_NAME_PARSER_HANDLE", 4};
constexpr BlockDefinition kConfiguration{"SHARED_NAME_CONFIGURATION",
                                         "MUTEX_NAME_CONFIGURATION", 261};
constexpr BlockDefinition kEventProcName{"SHARED_NAME_EVENTPROCNAME",
                                         "MUTEX_NAME_EVENTPROCNAME", 128};
constexpr BlockDefinition kFile{"SHARED_NAME_FILE", "MUTEX_NAME_FILE", 261};
constexpr BlockDefinition kFolder{"SHARED_NAME_FOLDER", "MUTEX_NAME_FOLDER", 261};
constexpr BlockDefinition kKVTItoPTP{"SHARED_NAME_KVTItoPTP", "MUTEX_NAME_KVTItoPTP", 261};
constexpr BlockDefinition kCameraHandle{"SHARED_NAME_CameraHandle", "MUTEX_NAME_CameraHandle",
                                        261};

// A Set or Get that stores or reads nothing says why, and the caller gets false.
bool Refuse(const char* member, const char* why) {
    kvtlog::Stamp(s_log) << "[ERR!] - [VALU] " << member << " - " << why << '\n';
    kvtlog::CommitLog(s_log);
    return false;
}

// Word 0 of a block, under its mutex.
bool StoreWord(CSharedMemory& block, std::uint32_t word, const char* member) {
    kvt::BlockAccess access(block);
    if (!access.Write(word)) {
        return Refuse(member, "no block");
    }
    return true;
}

bool LoadWord(CSharedMemory& block, std::uint32_t& word, const char* member) {
    word = 0;
    kvt::BlockAccess access(block);
    if (!access.Read(word)) {
        word = 0;
        return Refuse(member, "no block");
    }
    return true;
}

}  // namespace

// The constructor ignores a failed creation (the object then holds no block and every
// kvt::BlockAccess on it is invalid); the destructor releases the block.
#define KVT_DEFINE_SHARED_BLOCK(ClassName, definition)                                    \
    ClassName::ClassName() {                                                              \
        MallocSharedMemory(definition.size, definition.name, definition.mutexName);      \
    }                                                                                     \
    ClassName::~ClassName() { FreeSharedMemory(); }

KVT_DEFINE_SHARED_BLOCK(CCommonModuleSharedMemory, kCommonModule)
KVT_DEFINE_SHARED_BLOCK(CModelIDSharedMemory, kModelID)
KVT_DEFINE_SHARED_BLOCK(CBodyIDSharedMemory, kBodyID)
KVT_DEFINE_SHARED_BLOCK(CParserHandleSharedMemory, kParserHandle)
KVT_DEFINE_SHARED_BLOCK(CConfigurationSharedMemory, kConfiguration)
KVT_DEFINE_SHARED_BLOCK(CEventProcNameSharedMemory, kEventProcName)
KVT_DEFINE_SHARED_BLOCK(CFileSharedMemory, kFile)
KVT_DEFINE_SHARED_BLOCK(CFolderSharedMemory, kFolder)
KVT_DEFINE_SHARED_BLOCK(CKVTItoPTPSharedMemory, kKVTItoPTP)
KVT_DEFINE_SHARED_BLOCK(CCameraHandleSharedMemory, kCameraHandle)

bool CKVTItoPTPSharedMemory::Set(HINSTANCE* value) {
    const char* member = "CKVTItoPTPSharedMemory::Set";
    if (value == nullptr) {
        return Refuse(member, "null pointer");
    }
    if (!kvt::ModuleHandleFitsWord(*value)) {
        return Refuse(member, "module handle does not fit 32 bits");
    }
    return StoreWord(*this, kvt::ModuleHandleToWord(*value), member);
}

bool CKVTItoPTPSharedMemory::Get(HINSTANCE* value) {
    const char* member = "CKVTItoPTPSharedMemory::Get";
    if (value == nullptr) {
        return Refuse(member, "null pointer");
    }
    std::uint32_t word = 0;
    const bool ok = LoadWord(*this, word, member);
    *value = kvt::WordToModuleHandle(word);
    return ok;
}

static_assert(sizeof(unsigned long) == 4, "a camera handle travels as one 32-bit word");

bool CCameraHandleSharedMemory::Set(unsigned long* value) {
    const char* member = "CCameraHandleSharedMemory::Set";
    if (value == nullptr) {
        return Refuse(member, "null pointer");
    }
    return StoreWord(*this, static_cast<std::uint32_t>(*value), member);
}

bool CCameraHandleSharedMemory::Get(unsigned long* value) {
    const char* member = "CCameraHandleSharedMemory::Get";
    if (value == nullptr) {
        return Refuse(member, "null pointer");
    }
    std::uint32_t word = 0;
    const bool ok = LoadWord(*this, word, member);
    *value = word;
    return ok;
}
