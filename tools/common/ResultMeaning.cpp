#include "tools/common/ResultMeaning.h"

#include "include/kvt_results.h"

namespace kvttools {

const char* ResultMeaning(unsigned long code) {
#define KVT_TOOLS_RESULT_ROW(value, text) \
    if (code == (value)) {                \
        return text;                      \
    }
    KVT_RESULT_TABLE(KVT_TOOLS_RESULT_ROW)
#undef KVT_TOOLS_RESULT_ROW
    return "passed on from the camera or its transport";
}

}  // namespace kvttools
