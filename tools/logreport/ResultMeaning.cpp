#include "tools/logreport/ResultMeaning.h"

#include "include/kvt_results.h"

namespace logreport {

const char* ResultMeaning(long result) {
    const unsigned long code = static_cast<unsigned long>(result);
#define LOGREPORT_RESULT_ROW(value, text) \
    if (code == (value)) {                \
        return text;                      \
    }
    KVT_RESULT_TABLE(LOGREPORT_RESULT_ROW)
#undef LOGREPORT_RESULT_ROW
    return "passed on from the camera or its transport";
}

}  // namespace logreport
