#include "plugins/pellor/PluginLog.h"

namespace pellor {

kvtlog::LogStream& PluginLog() {
    static kvtlog::LogStream s_log;
    return s_log;
}

}  // namespace pellor
