#include "tools/kvt/ResultCodes.h"

#include "include/kvt_results.h"
#include "tools/common/ResultMeaning.h"
#include "tools/kvt/Failures.h"

namespace kvtcli {

std::string DescribeResult(unsigned long code) {
    return std::to_string(code) + " (" + ResultMeaning(code) + ")";
}

int ExitCodeOf(unsigned long code) {
    if (code >= 1 && code <= 255 && code != static_cast<unsigned long>(kUsageExitCode)) {
        return static_cast<int>(code);
    }
    return 1;
}

void Require(const char* step, unsigned long result) {
    if (result != KVT_OK) {
        throw ExportFailure(step, result,
                            std::string(step) + " failed with " + DescribeResult(result));
    }
}

}  // namespace kvtcli
