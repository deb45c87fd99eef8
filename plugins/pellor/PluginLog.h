// The log stream of the plug-in's load banners, its exports and its settings
// procedures. One stream for all of them: every line is committed before the next
// procedure runs, and the plug-in is called from one thread at a time.
#pragma once

#include "common/LogStream.h"

namespace pellor {

// The module's file name, as the banners and the version resource name it.
constexpr char kPluginFileName[] = "Pellor.q517";

kvtlog::LogStream& PluginLog();

}  // namespace pellor
