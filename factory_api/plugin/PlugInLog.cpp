#include "factory_api/plugin/PlugInLog.h"

kvtlog::LogStream& PlugInLog() {
    static kvtlog::LogStream log;
    return log;
}
