#include <cstring>

#include "common/Exception.h"
#include "common/FilePath.h"
#include "common/Handles.h"
#include "common/LogFile.h"
#include "common/LogFrame.h"
#include "common/Win32.h"
#include "factory_api/ModuleState.h"
#include "factory_api/plugin/PlugInLog.h"
#include "factory_api/plugin/VersionCheck.h"
#include "factory_api/plugin/VersionList.h"

namespace {

// [Version] FileVersion of an INI file, "unknown" without it; at most 9 characters.
std::string ReadIniVersion(const std::string& fullPath) {
    char version[10] = {};
    ::GetPrivateProfileStringA("Version", "FileVersion", "unknown", version,
                               static_cast<DWORD>(sizeof(version)), fullPath.c_str());
    return std::string(version, strnlen(version, sizeof(version)));
}

// Reads forward to the next INI entry: the decoded name and the registered version as
// stored (not encoded). False when the list ends first.
bool ReadNextIniEntry(CVersionList& list, std::string& name, std::string& registered) {
    char field[verck::kFieldSize];
    for (;;) {
        if (!list.ReadField(field)) {
            return false;
        }
        if (Sort(field) != 0) {
            kvt::Fail("[ERR!] Sort", 1);
        }
        if (std::strstr(field, ".ini") != nullptr) {
            break;
        }
    }
    name = field;
    char version[verck::kFieldSize];
    if (!list.ReadField(version)) {
        return false;
    }
    registered.assign(version, strnlen(version, sizeof(version)));
    return true;
}

}  // namespace

unsigned long _CheckIniVersion() {
    kvtlog::FrameLines lines{"[FUNC] _CheckIniVersion"};
    lines.header = false;
    kvtlog::LogStream& log = PlugInLog();
    return kvtlog::RunFrame(log, lines, [&] {
        const std::string propertyFolder = CFilePath().GetPropertyFullPath();
        CVersionList list;
        const std::string pattern =
            kvtq517::ModelFolderName(kvtq517::kModelID) + "/Property/*.ini";
        WIN32_FIND_DATAA found;
        kvt::UniqueFind search(::FindFirstFileA(pattern.c_str(), &found));
        if (!search) {
            WriteIniSearchFailureMessage();
            list.Close();
            kvt::Fail("[SYSF] FindFirstFile", 1);
        }
        bool listEnded = false;
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                continue;
            }
            const std::string fileName = found.cFileName;
            const std::string fullPath = propertyFolder + fileName;
            const std::string version = ReadIniVersion(fullPath);
            std::string name;
            std::string registered;
            if (listEnded || !ReadNextIniEntry(list, name, registered)) {
                listEnded = true;
                kvtlog::Stamp(log) << "[CMNT] Not Registered - " << fullPath << '\n';
                continue;
            }
            if (name != fullPath && name != fileName) {
                continue;
            }
            if (registered != version) {
                WriteVersionMismatch(fullPath, "[ERR!]   Property -> ", version,
                                     "[ERR!]   Regist.  -> ", registered);
                kvt::Fail("[ERR!] INI Version mismatch.", 1);
            }
        } while (::FindNextFileA(search.Get(), &found));
    });
}
