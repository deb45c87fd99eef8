// The log stream of CAPIManager, shared by its translation units (internal to Corvane).
#pragma once

#include "common/LogStream.h"

namespace corvane {

kvtlog::LogStream& TransportLog() noexcept;

}  // namespace corvane
