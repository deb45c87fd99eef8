// Small helpers shared by the tests: files, folders, child processes, log lines.
#pragma once

#include <string>
#include <vector>

namespace kvttest {

// Folder of the running test program (build/bin), with a trailing backslash.
std::string BinDir();
// Current directory, with a trailing backslash.
std::string CurrentDir();

std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
bool DirExists(const std::string& path);
// Copies a file; false if it fails.
bool CopyFileTo(const std::string& from, const std::string& to);
// A new empty folder below the current directory: "<prefix>-<n>\" (absolute path).
std::string MakeFreshDir(const std::string& prefix);
// The same below `parent` (an absolute folder with its trailing backslash).
std::string MakeFreshDirIn(const std::string& parent, const std::string& prefix);
// Benchmarks: a monotonic clock in milliseconds (the performance counter).
double Milliseconds();
// A benchmark's measurement folder: kept, with "folder: <path>" printed, or removed.
void KeepOrRemoveFolder(const std::string& folder, bool keep);
// Removes a folder tree (best effort).
void RemoveTree(const std::string& path);

struct ProcessResult {
    int exitCode = -1;
    std::string out;   // standard output
    std::string err;   // standard error
    bool started = false;
    bool timedOut = false;   // killed, with everything it started, at the time limit
};
// Runs a command line in `workDir` with `input` on standard input. A child that cannot
// be started (twice) throws kvttest::HarnessFailure (support/ProcessStart.h).
ProcessResult RunProcess(const std::string& commandLine, const std::string& workDir,
                         const std::string& input = std::string(), unsigned timeoutMs = 60000);

// The lines of a text, each without its LF or CR LF.
std::vector<std::string> SplitLines(const std::string& text);
// The lines of a log file, CR LF removed. With stripStamp, a leading "<10 chars> | "
// time stamp is removed from each line that has one.
std::vector<std::string> ReadLogLines(const std::string& path, bool stripStamp = true);
// Index of the first line equal to `line` at or after `from`, or -1.
int FindLine(const std::vector<std::string>& lines, const std::string& line, int from = 0);
// Index of the first line that contains `text` at or after `from`, or -1.
int FindLineContaining(const std::vector<std::string>& lines, const std::string& text,
                       int from = 0);

}  // namespace kvttest
