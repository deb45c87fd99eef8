// The exports of the library are declared once, in the SDK's public header, which the
// export sources include: their definitions are checked against the declarations that
// programs compile with. Include "include/kvt_factory.h" directly; this name stays for
// the callers that still use it.
#pragma once

#include "include/kvt_factory.h"
