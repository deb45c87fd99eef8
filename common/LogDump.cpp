#include "common/LogDump.h"

#include "common/LogFile.h"

namespace kvtlog {

void DumpData(LogStream& log, const char* tag, const unsigned char* data, std::size_t size) {
    FormatDump(log, tag, data, size, [&log] { CommitLog(log); });
    CommitLog(log);
}

}  // namespace kvtlog
