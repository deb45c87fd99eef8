#include "common/LogDump.h"

#include <iomanip>

#include "common/LogFile.h"

namespace kvtlog {

void DumpData(LogStream& log, const char* tag, const unsigned char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (i % 16 == 0) {
            if (i > 0) {
                log << '\n';
            }
            Stamp(log) << tag << "  Data[ " << std::hex << std::setw(4) << std::setfill('0')
                       << i << " ] ";
        }
        if (i % 8 == 0) {
            log << ' ';
        }
        log << std::hex << std::setw(2) << std::setfill('0') << static_cast<unsigned>(data[i])
            << ' ';
        CommitLog(log);
    }
    log << std::dec << '\n';
    CommitLog(log);
}

}  // namespace kvtlog
