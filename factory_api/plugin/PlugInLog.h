// The log stream of the plug-in manager: discovery, loading and the version checks.
#pragma once

#include "common/LogStream.h"

kvtlog::LogStream& PlugInLog();
