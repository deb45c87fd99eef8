#include "factory_api/plugin/PlugInDiscovery.h"

#include <cstdio>
#include <string>
#include <vector>

#include "common/Exception.h"
#include "common/Handles.h"
#include "common/LogFile.h"
#include "common/LogFrame.h"
#include "common/Win32.h"
#include "factory_api/LibraryIdentity.h"
#include "factory_api/ModuleState.h"
#include "factory_api/plugin/PlugInLog.h"
#include "factory_api/plugin/PlugInManager.h"
#include "factory_api/plugin/VersionCheck.h"

namespace {

// Adds and version-checks every file of one pattern, in search order.
void AddPlugInsMatching(const std::string& directory, const std::string& pattern) {
    kvtlog::LogStream& log = PlugInLog();
    const std::string searchPath = kvtq517::JoinWithinMaxPath(directory, pattern);
    WIN32_FIND_DATAA found;
    kvt::UniqueFind search(::FindFirstFileA(searchPath.c_str(), &found));
    std::printf("hFile = %p\n", static_cast<void*>(search.Get()));
    if (!search) {
        return;
    }
    unsigned index = 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        const std::string fileName = found.cFileName;
        const std::string fullPath = kvtq517::JoinWithinMaxPath(directory, fileName);
        if (index++ > 0) {
            kvtlog::Stamp(log) << "[VALU]    PlugIn Name is " << fileName << '\n';
            std::printf("    PlugIn Name is %s\n", fileName.c_str());
        }
        CPlugInManager::GetInstance().AddPlugIn(fullPath);
        const unsigned long checked = _CheckDllVersion(fullPath, fileName);
        if ((checked & 1) != 0) {
            kvt::Fail("[FUNC] _CheckDllVersion", 51);
        }
    } while (::FindNextFileA(search.Get(), &found));
}

}  // namespace

unsigned long RegisterPlugInList() {
    kvtlog::LogStream& log = PlugInLog();
    return kvtlog::RunFrame(log, {"[FUNC] RegisterPlugInList"}, [&] {
        const std::uint32_t modelID = kvtq517::ReadPublishedModelID(log);
        const std::string extension = ".q" + kvtq517::ModelDigits(modelID);
        const std::vector<std::string> extensionPatternList = {"*" + extension,
                                                               "*" + extension + ".dll"};
        std::printf("ExtensionPatternList.size() = %u\n",
                    static_cast<unsigned>(extensionPatternList.size()));

        const std::string libraryPath = kvtq517::ReadLibraryFilePath();
        const std::string directory = kvtq517::JoinWithinMaxPath(
            libraryPath.substr(0, libraryPath.find_last_of('\\') + 1),
            kvtq517::ModelFolderName(modelID) + "\\PlugIn\\");
        std::printf("%s\n", directory.c_str());

        for (const std::string& pattern : extensionPatternList) {
            AddPlugInsMatching(directory, pattern);
        }
        kvtlog::CommitLog(log);
        CPlugInManager::GetInstance().LoadPlugIns();
        if ((_CheckIniVersion() & 1) != 0) {
            kvt::Fail("[FUNC] _CheckIniVersion", 53);
        }
    });
}

unsigned long DeregisterPlugInList() {
    return kvtlog::RunFrame(PlugInLog(), {"[FUNC] DeregisterPlugInList"}, [] {
        CPlugInManager::GetInstance().FreePlugIns();
    });
}
