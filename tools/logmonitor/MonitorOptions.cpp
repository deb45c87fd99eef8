#include "tools/logmonitor/MonitorOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char kMonitorUsage[] =
    "usage: KvtLogMonitor [--utf8] [--codepage N] [--count N]\n"
    "  Prints the log text written to the channel \"log_smemory\" and acknowledges\n"
    "  each write; Ctrl+C ends it.\n"
    "  --utf8        convert the text from the ANSI code page (or --codepage) to UTF-8\n"
    "  --codepage N  code page of the text for --utf8 (for example 932)\n"
    "  --count N     end after N log texts\n";

namespace {

bool ParseNumber(const char* text, unsigned long& value) {
    if (text == nullptr || *text == '\0' || *text == '-') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtoul(text, &end, 10);
    return errno == 0 && *end == '\0';
}

}  // namespace

bool ParseMonitorOptions(int argc, char** argv, MonitorOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        unsigned long number = 0;
        if (std::strcmp(arg, "--utf8") == 0) {
            options.toUtf8 = true;
        } else if (const bool codePage = std::strcmp(arg, "--codepage") == 0;
                   codePage || std::strcmp(arg, "--count") == 0) {
            const char* value = i + 1 < argc ? argv[++i] : nullptr;
            if (!ParseNumber(value, number) || number > 0xFFFFFFFFul) {
                error = std::string("bad number for ") + arg;
                return false;
            }
            if (codePage) {
                options.codePage = static_cast<unsigned>(number);
            } else {
                options.count = number;
            }
        } else {
            error = std::string("unknown option ") + arg;
            return false;
        }
    }
    return true;
}
