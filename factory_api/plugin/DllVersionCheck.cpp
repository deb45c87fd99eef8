#include <cstring>

#include "common/Exception.h"
#include "common/LogFile.h"
#include "common/LogFrame.h"
#include "factory_api/plugin/PlugInLog.h"
#include "factory_api/plugin/VersionCheck.h"
#include "factory_api/plugin/VersionList.h"
#include "factory_api/plugin/VersionResource.h"

unsigned long _CheckDllVersion(const std::string& fullPath, const std::string& fileName) {
    kvtlog::FrameLines lines{"[FUNC] _CheckDllVersion"};
    lines.header = false;
    lines.exitLine = false;
    lines.commitFailureLine = true;
    kvtlog::LogStream& log = PlugInLog();
    return kvtlog::RunFrame(log, lines, [&] {
        const std::string version = ReadFileVersionText(fullPath);
        CVersionList list;
        char name[verck::kFieldSize];
        char registered[verck::kFieldSize];
        while (list.ReadField(name) && list.ReadField(registered)) {
            if (Sort(name) != 0 || Sort(registered) != 0) {
                kvt::Fail("[ERR!] Sort", 1);
            }
            if (fileName != name) {
                continue;
            }
            list.Close();
            if (version == registered) {
                return;
            }
            WriteVersionMismatch(fileName, "[ERR!]   PlugIn  -> ", version,
                                 "[ERR!]   Regist. -> ", registered);
            kvt::Fail("[ERR!] DLL Version mismatch.", 1);
        }
        list.Close();
        kvtlog::Stamp(log) << "[ERR!] DLL Name : " << fileName << '\n';
        kvtlog::CommitLog(log);
        kvt::Fail("[ERR!] DLL is not exist.", 1);
    });
}
