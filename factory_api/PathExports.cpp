// KVT_SetFilePath, KVT_DeleteFilePath, KVT_SetFolderPath and KVT_DeleteFolderPath: a
// file path and a folder path published to the other modules in the 261-byte blocks
// "SHARED_NAME_FILE" and "SHARED_NAME_FOLDER". A block is created on the first set and
// kept until the library is unloaded, so its last path stays readable in between. A
// refused path leaves the block untouched.
#include "include/kvt_factory.h"

#include <memory>
#include <new>
#include <string>

#include "common/Exception.h"
#include "common/LogFrame.h"
#include "common/SharedMemory.h"
#include "factory_api/ModuleState.h"
#include "factory_api/TextArguments.h"

using namespace kvtq517;

namespace {

// Creates the block object on first use. An object without a block would take no path
// and report success, so it is refused like one that cannot be created.
template <class Block>
Block& RequireBlock(Block*& block, const char* failure) {
    if (block == nullptr) {
        std::unique_ptr<Block> created(new (std::nothrow) Block);
        if (!created || created->GetpSharedMemory() == nullptr) {
            kvt::Fail(failure, 5);
        }
        block = created.release();
    }
    return *block;
}

// Checks the path, then publishes it with its zero; the rest of the block is zeroed.
template <class Block>
void PublishPath(const char* path, const char* name, Block*& block, const char* blockName) {
    RequireText(path, kMaxPathTextLength, name);
    Block& target = RequireBlock(block, (std::string("[VALU] ") + blockName).c_str());
    kvtlog::Stamp(ApiLog()) << "[VALU] " << name << ' ' << path << '\n';
    kvt::BlockAccess access(target);
    if (!access.WriteText(path)) {
        kvt::Fail(std::string("[VALU] ") + blockName, 5);
    }
}

}  // namespace

unsigned long __stdcall KVT_SetFilePath(const char* pszFilePath) {
    return kvtlog::RunFrame(ApiLog(), {"[FUNC] KVT_SetFilePath"}, [&] {
        PublishPath(pszFilePath, "pszFilePath", m_pFileSharedMemory, "m_pFileSharedMemory");
    });
}

unsigned long __stdcall KVT_DeleteFilePath() {
    return kvtlog::RunFrame(ApiLog(), {"[FUNC] KVT_DeleteFilePath"}, [] {});
}

unsigned long __stdcall KVT_SetFolderPath(const char* pszFolderPath) {
    return kvtlog::RunFrame(ApiLog(), {"[FUNC] KVT_SetFolderPath"}, [&] {
        PublishPath(pszFolderPath, "pszFolderPath", m_pFolderSharedMemory,
                    "m_pFolderSharedMemory");
    });
}

unsigned long __stdcall KVT_DeleteFolderPath() {
    return kvtlog::RunFrame(ApiLog(), {"[FUNC] KVT_DeleteFolderPath"}, [] {});
}
