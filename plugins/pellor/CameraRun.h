// One run of a camera-side procedure with one 32-bit integer parameter; gives the
// camera's result. Transport failures are raised as CException.
#pragma once

#include <string>

#include "core/camera/EventProcedure.h"

namespace pellor {

inline int RunCameraProcedure(const char* name, int value) {
    CEventProcedure procedure;
    int result = 0;
    procedure.Execute(std::string(name), value, &result);
    return result;
}

}  // namespace pellor
