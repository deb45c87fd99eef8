#include "common/LogFile.h"
#include "factory_api/plugin/PlugInLog.h"
#include "factory_api/plugin/VersionCheck.h"

void WriteVersionMismatch(const std::string& item, const char* foundLabel,
                          const std::string& found, const char* registeredLabel,
                          const std::string& registered) {
    kvtlog::LogStream& log = PlugInLog();
    kvtlog::Line(log, "[ERR!] ");
    kvtlog::Stamp(log) << "[ERR!] " << item << '\n';
    kvtlog::Stamp(log) << foundLabel << found << '\n';
    kvtlog::Stamp(log) << registeredLabel << registered << '\n';
    kvtlog::CommitLog(log);
}
