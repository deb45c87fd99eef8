// The log stream of the plug-in's data procedures (property data, identity, firmware,
// board data, camera log, dumps and tune data).
#pragma once

#include "common/LogStream.h"

namespace pellor {

kvtlog::LogStream& DataLog();

}  // namespace pellor
