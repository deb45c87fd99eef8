// Child process of the log tests; Corvane is loaded with it.
//   lines <tag> <count>   commits <count> lines "[VALU] <tag> <i>" one by one through a
//                         log writer of its own
//   restart               restarts the global timer once more after the load
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/LogFile.h"
#include "common/LogStream.h"
#include "core/GlobalTimer.h"

namespace {
kvtlog::LogStream s_log;
}

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "lines" && argc > 3) {
        const std::string tag = argv[2];
        const long count = std::strtol(argv[3], nullptr, 10);
        kvtlog::StartLogStaging();
        for (long i = 0; i < count; ++i) {
            kvtlog::Stamp(s_log) << "[VALU] " << tag << ' ' << std::dec << i << '\n';
            kvtlog::CommitLog(s_log);
        }
        kvtlog::StopLogStaging();
        return 0;
    }
    if (mode == "restart") {
        CGlobalTimer::GetInstance().Start();
        return 0;
    }
    std::fprintf(stderr, "unknown mode '%s'\n", mode.c_str());
    return 2;
}
