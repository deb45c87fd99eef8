// Benchmark of KvtLogReport on a large log: a generated "KvtDll.log" of 100 MB (many
// runs of a factory program: banners, timer restarts, frames, transport timings,
// memory dumps, failures) is summarised by KvtLogReport.exe in a child process, as
// text and with the HTML page; the baseline is reading the same file once. The
// child's peak working set shows that memory does not grow with the log.
//
//   kvt_logreport_bench [megabytes] [keep]    (default 100; "keep" leaves the folder)
// Output: "BENCH name|value|unit|baseline|baseline value" and "INFO" lines.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "common/Win32.h"
#include "support/ProcessStart.h"
#include "support/TestSupport.h"
#include "tests/logreport/GeneratedLog.h"

// After <windows.h>, which it needs.
#include <psapi.h>

namespace {

struct ChildRun {
    bool ok = false;
    double ms = 0;
    unsigned long exitCode = 0;
    std::size_t peakWorkingSet = 0;
};

// Runs the command line with its output to the null device; wall time and the
// child's peak working set.
ChildRun RunChild(const std::string& commandLine, const std::string& folder) {
    ChildRun r;
    kvt::UniqueFile null(::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    const double start = kvttest::Milliseconds();
    kvttest::StartedProcess child;
    try {
        child = kvttest::StartProcess(commandLine, folder, {nullptr, null.Get(), null.Get()});
    } catch (const kvttest::HarnessFailure& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return r;
    }
    ::WaitForSingleObject(child.Process(), INFINITE);
    r.ms = kvttest::Milliseconds() - start;
    DWORD code = 0;
    ::GetExitCodeProcess(child.Process(), &code);
    r.exitCode = code;
    PROCESS_MEMORY_COUNTERS counters{};
    if (::GetProcessMemoryInfo(child.Process(), &counters, sizeof(counters))) {
        r.peakWorkingSet = counters.PeakWorkingSetSize;
    }
    r.ok = true;
    return r;
}

// Reads the file once through a buffer of 1 MB and counts its lines.
double ReadOnce(const std::string& path, std::size_t& lines) {
    const double start = kvttest::Milliseconds();
    kvt::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    std::vector<char> buffer(1024 * 1024);
    DWORD got = 0;
    lines = 0;
    while (file && ::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
           got > 0) {
        for (const char* p = buffer.data(); (p = static_cast<const char*>(std::memchr(p, '\n', buffer.data() + got - p)));
             ++p) {
            ++lines;
        }
    }
    return kvttest::Milliseconds() - start;
}

// A log of at least `bytes` bytes: one generated process run appended again and again.
bool WriteLargeLog(const std::string& path, std::size_t bytes, std::size_t& written) {
    logreporttest::GeneratedLog one;
    one.AddProcess(40, 7, 4096);
    const std::string block = one.Text(true);
    kvt::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    written = 0;
    while (file && written < bytes) {
        DWORD n = 0;
        if (!::WriteFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &n, nullptr) || n != block.size()) {
            return false;
        }
        written += n;
    }
    return static_cast<bool>(file);
}

double Best(const std::vector<double>& v) {
    double best = v.empty() ? 0 : v[0];
    for (double x : v) {
        best = x < best ? x : best;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
    const bool keep = argc > 2 && std::strcmp(argv[2], "keep") == 0;
    const std::string folder = kvttest::MakeFreshDir("logreport-bench");
    const std::string log = folder + "KvtDll.log";
    std::size_t size = 0;
    if (!WriteLargeLog(log, megabytes * 1024 * 1024, size)) {
        std::printf("cannot write %s\n", log.c_str());
        return 1;
    }
    const std::string tool = "\"" + kvttest::BinDir() + "KvtLogReport.exe\" \"" + log + "\"";
    std::vector<double> reads, summaries, pages;
    std::size_t lines = 0, summaryPeak = 0, pagePeak = 0;
    for (int round = 0; round < 3; ++round) {
        reads.push_back(ReadOnce(log, lines));
        const ChildRun summary = RunChild(tool, folder);
        const ChildRun page = RunChild(tool + " --html \"" + folder + "report.html\"", folder);
        if (!summary.ok || !page.ok || summary.exitCode != 0 || page.exitCode != 0) {
            std::printf("KvtLogReport failed: exit codes %lu, %lu\n", summary.exitCode, page.exitCode);
            return 1;
        }
        summaries.push_back(summary.ms);
        pages.push_back(page.ms);
        summaryPeak = std::max(summaryPeak, summary.peakWorkingSet);
        pagePeak = std::max(pagePeak, page.peakWorkingSet);
    }
    std::string html;
    kvttest::ReadFileBytes(folder + "report.html").swap(html);
    const std::string name = "KvtLogReport summary, " + std::to_string(size / (1024 * 1024)) + " MB log";
    std::printf("BENCH %s|%.3f|ms|the same file read once|%.3f\n", name.c_str(), Best(summaries), Best(reads));
    std::printf("BENCH KvtLogReport summary and HTML page|%.3f|ms|the same file read once|%.3f\n", Best(pages),
                Best(reads));
    std::printf("INFO log: %zu bytes, %zu lines; page: %zu bytes\n", size, lines, html.size());
    std::printf("INFO peak working set of KvtLogReport: %.1f MB (summary), %.1f MB (with the page)\n",
                static_cast<double>(summaryPeak) / (1024 * 1024), static_cast<double>(pagePeak) / (1024 * 1024));
    kvttest::KeepOrRemoveFolder(folder, keep);
    return 0;
}
