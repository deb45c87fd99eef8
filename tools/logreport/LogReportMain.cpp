// KvtLogReport: a report of "KvtDll.log" as text on standard output and, with --html,
// as one self-contained HTML page. The log is read once, line by line.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/logreport/HtmlReport.h"
#include "tools/logreport/LogAnalyzer.h"
#include "tools/logreport/LogReader.h"
#include "tools/logreport/ReportOptions.h"
#include "tools/logreport/SinkList.h"
#include "tools/logreport/Summary.h"
#include "tools/logreport/TextReport.h"

namespace {

std::string SystemMessage(unsigned long error) {
    char text[512] = {};
    const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                     error, 0, text, sizeof(text), nullptr);
    std::string message(text, n);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(error) : message + " (" + std::to_string(error) + ")";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace logreport;
    const std::vector<std::string> args(argv + 1, argv + argc);
    ReportOptions options;
    std::string problem;
    if (!ParseOptions(args, options, problem)) {
        std::fprintf(stderr, "KvtLogReport: %s\n%s", problem.c_str(), kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    LogReader reader;
    unsigned long error = 0;
    if (!reader.Open(options.logPath, error)) {
        std::fprintf(stderr, "KvtLogReport: cannot open %s: %s\n", options.logPath.c_str(),
                     SystemMessage(error).c_str());
        return 1;
    }
    Summary summary;
    SinkList sinks;
    sinks.Add(summary);
    HtmlReport html(options.codePage);
    if (!options.htmlPath.empty()) {
        if (!html.Begin(options.htmlPath, options.logPath, error)) {
            std::fprintf(stderr, "KvtLogReport: cannot write %s: %s\n", options.htmlPath.c_str(),
                         SystemMessage(error).c_str());
            return 1;
        }
        sinks.Add(html);
    }

    LogAnalyzer analyzer(sinks);
    RawLine line;
    while (reader.Next(line)) {
        analyzer.Feed(line);
    }
    analyzer.Finish(reader);

    WriteTextReport(stdout, options.logPath, summary);
    std::fflush(stdout);
    int status = reader.ReadError() != 0 ? 1 : 0;
    if (reader.ReadError() != 0) {
        std::fprintf(stderr, "KvtLogReport: reading %s stopped: %s\n", options.logPath.c_str(),
                     SystemMessage(reader.ReadError()).c_str());
    }
    if (!options.htmlPath.empty()) {
        if (html.End(summary, error)) {
            std::fprintf(stderr, "KvtLogReport: wrote %s\n", options.htmlPath.c_str());
        } else {
            std::fprintf(stderr, "KvtLogReport: writing %s failed: %s\n", options.htmlPath.c_str(),
                         SystemMessage(error).c_str());
            status = 1;
        }
    }
    return status;
}
