#include "tools/logreport/ReportOptions.h"

#include <cstdlib>

namespace logreport {

const char kUsage[] =
    "usage: KvtLogReport <log file> [--html <file>] [--codepage <n>]\n"
    "  Prints a summary of a \"KvtDll.log\": every exported operation and event procedure\n"
    "  with its count, failures and times, each failure with its result and \"[ERR!]\"\n"
    "  chain, and the transport calls per camera. --html also writes the report as one\n"
    "  self-contained page: a timeline of the run, the tables and the log text.\n"
    "  --codepage: the code page of the log's text (default: the ANSI code page).\n"
    "  Exit code: 0 report written, 1 the log cannot be read or the page not written,\n"
    "  2 bad arguments.\n";

bool ParseOptions(const std::vector<std::string>& args, ReportOptions& options, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--help" || a == "-h" || a == "/?") {
            options.help = true;
        } else if (a == "--html") {
            if (!hasValue || args[i + 1].empty()) {
                error = "--html needs a file name";
                return false;
            }
            options.htmlPath = args[++i];
        } else if (a == "--codepage") {
            char* end = nullptr;
            const std::string& v = hasValue ? args[i + 1] : std::string();
            const unsigned long page = std::strtoul(v.c_str(), &end, 10);
            if (v.empty() || end == nullptr || *end != '\0' || page > 65535) {
                error = "--codepage needs a code page number";
                return false;
            }
            options.codePage = static_cast<unsigned>(page);
            ++i;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a;
            return false;
        } else if (options.logPath.empty()) {
            options.logPath = a;
        } else {
            error = "more than one log file: " + a;
            return false;
        }
    }
    if (!options.help && options.logPath.empty()) {
        error = "no log file given";
        return false;
    }
    return true;
}

}  // namespace logreport
