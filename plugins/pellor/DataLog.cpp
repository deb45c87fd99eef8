#include "plugins/pellor/DataLog.h"

namespace pellor {

kvtlog::LogStream& DataLog() {
    static kvtlog::LogStream s_log;
    return s_log;
}

}  // namespace pellor
