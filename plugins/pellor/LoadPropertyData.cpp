// LoadPropertyData: reads every catalogued property from the camera and writes each
// into its own data file in the folder published in the FOLDER block. One record at a
// time: one buffer of the rounded size, one camera read into it, one file write.
#include <cstdint>
#include <memory>
#include <new>
#include <string>

#include "common/Exception.h"
#include "common/LogFile.h"
#include "common/LogStream.h"
#include "common/SharedMemory.h"
#include "core/camera/Property.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/PropertyDataFile.h"
#include "plugins/pellor/PropertyList.h"

namespace pellor {
namespace {

const char kRule[] =
    "[CMNT] ----------------------------------------"
    "----------------------------------------";

// The FOLDER text, read under the block's mutex. It must leave room for its zero in a
// MAX_PATH buffer.
std::string ReadFolderText() {
    CFolderSharedMemory folder;
    kvt::BlockAccess access(folder);
    if (!access.Valid()) {
        kvt::Fail("[VALU] pFolderSharedMemory", 5);
    }
    std::string text = access.ReadText();
    if (text.size() > kMaxDataFilePath) {
        kvt::Fail("[VALU] strlen(pszFullPath)", 3);
    }
    return text;
}

void LoadOneProperty(CPublicProperty& property, const PROPERTY_DATA_T& record,
                     const std::string& folderText) {
    kvtlog::LogStream& log = PluginLog();
    kvtlog::Line(log, kRule);
    kvtlog::Stamp(log) << "[VALU] PropertyName - " << record.szName << '\n';

    std::uint32_t size = record.Size;
    RoundUpToMultipleOf4(&size);
    // Zeroed, so that a camera answering with fewer bytes leaves zeros, not heap
    // contents, in the file's tail.
    std::unique_ptr<unsigned char[]> data(new (std::nothrow) unsigned char[size]());
    if (!data) {
        kvt::Fail("[VALU] pbyData", 5);
    }
    const unsigned id = record.ID;
    const unsigned capacity = size;
    property.Get(id, capacity, data.get());

    const std::string folder = PropertyDataFolder(folderText);
    const std::string fileName = PropertyDataFileName(record.ID);
    if (folder.size() + fileName.size() > kMaxDataFilePath) {
        kvt::Fail("[VALU] strlen(pszFullPath) + strlen(pszFileName)", 3);
    }
    kvtlog::Stamp(log) << "[VALU] pszFileName - " << fileName << '\n';
    WritePropertyDataFile(folder + fileName, data.get(), size);
    data.reset();
    kvtlog::CommitLog(log);
}

}  // namespace

unsigned long __cdecl LoadPropertyData(void*) {
    return RunProcedure(PluginLog(), "LoadPropertyData", [&] {
        kvtlog::LogStream& log = PluginLog();
        const std::string folderText = ReadFolderText();
        kvtlog::Stamp(log) << "[VALU] pszFullPath - " << folderText << '\n';

        std::int32_t count = 0;
        RequireRoutineSuccess(GetPropertyDataCount(&count), "GetPropertyDataCount");
        std::unique_ptr<PROPERTY_DATA_T[]> list(
            new (std::nothrow) PROPERTY_DATA_T[static_cast<std::size_t>(count) + 1]);
        if (!list) {
            kvt::Fail("[VALU] pPropertyData", 5);
        }
        RequireRoutineSuccess(GetPropertyDataList(list.get()), "GetPropertyDataList");

        CPublicProperty property;
        for (std::int32_t i = 0; i < count; ++i) {
            LoadOneProperty(property, list[i], folderText);
        }
        kvtlog::Line(log, kRule);
    });
}

}  // namespace pellor
