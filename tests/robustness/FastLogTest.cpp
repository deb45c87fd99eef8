// The fast log (KVT_FAST_LOG=1): one factory program's session, run once in each log
// mode in a folder of its own, leaves the same bytes in "KvtDll.log", time stamps
// aside; a process killed in the middle of an operation keeps every finished one.
// The sessions use all three libraries: open, event procedures, monitor reads and
// writes with their dumps, the property catalogue, release and transfer, property
// files, failures, close and unload.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "tests/robustness/RobustFolder.h"

namespace {

using robusttest::DriverOutput;
using robusttest::RobustFolder;

// The session of the byte-for-byte comparison.
const char* const kSession[] = {
    "OpenDevice",
    "OpenDevice.TwoCameras",   // the tool-mode exchange
    "MonitorSession",          // read and write with dumps, call, close
    "GetLanguage",
    "SetLanguage",
    "SaveTimeCode",
    "CheckLensActivity",       // a procedure's own monitor session
    "GetBodyID",
    "SetABoardEepromData",
    "GetCameraLog",
    "LoadPropertyData",        // 239 records, 239 files
    "SetReleaseParameter",
    "ReleaseAndTransfer",
    "ReleaseAndTransferS",
    "LoadProperty",
    "SaveProperty",
    "Debug",
    "GetBodyID!1",             // failures: "[ERR!]" lines of every frame passed
    "MonitorSession!3",
    "locked:GetLanguage",      // the log file cannot be opened: that text is lost ...
    "SetLanguage",             // ... and the next is written
};

struct Session {
    DriverOutput run;
    std::string log;   // normalised (see Normalise)
};

// Masks what differs between two runs of one session: the time stamps, durations,
// the current time, process memory figures, heap addresses and the folder's path.
std::string Normalise(const std::string& text, const std::string& folder) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(start, end - start);
        start = end;
        for (std::size_t at = line.find(folder); at != std::string::npos; at = line.find(folder, at)) {
            line.replace(at, folder.size(), "<folder>\\");
        }
        const bool stamped = line.size() >= 13 && line.compare(10, 3, " | ") == 0 &&
                             line.find_first_not_of(" 0123456789") >= 10;
        if (stamped) {
            line.replace(0, 10, 10, '#');
        }
        const std::size_t msec = line.find(" msec.");
        if (msec != std::string::npos) {   // the padded field: its width follows the figure
            for (std::size_t i = msec; i > 0 && (line[i - 1] == ' ' || std::isdigit(static_cast<unsigned char>(line[i - 1]))); --i) {
                line[i - 1] = '#';
            }
        }
        const std::size_t text = stamped ? 13 : 0;
        for (const char* masked : {"[CMNT] Current Time is ", "[KVTI]   ", "[VALU] _pImpl - "}) {
            const std::string head = masked;
            if (line.compare(text, head.size(), head) == 0) {
                const std::size_t value = line.find(" : ", text);
                const std::size_t from = value != std::string::npos ? value + 3 : text + head.size();
                const std::size_t lineEnd = line.find_first_of("\r\n", from);
                line.replace(from, lineEnd - from, "#");
            }
        }
        out += line;
    }
    return out;
}

Session RunSession(const std::string& prefix, bool fast, const std::vector<std::string>& tokens) {
    const RobustFolder folder(prefix);
    std::vector<std::string> args{"run"};
    args.insert(args.end(), tokens.begin(), tokens.end());
    ::SetEnvironmentVariableA("KVT_FAST_LOG", fast ? "1" : nullptr);
    Session session;
    session.run = folder.Run(args, 600000);
    ::SetEnvironmentVariableA("KVT_FAST_LOG", nullptr);
    session.log = Normalise(kvttest::ReadFileBytes(folder.Path() + "KvtDll.log"), folder.Path());
    EXPECT_EQ(session.run.Starting("fastlog ").size(), 1u) << session.run.Transcript();
    EXPECT_EQ(session.run.Starting("fastlog ").front(), fast ? "fastlog 1" : "fastlog 0")
        << "the fast log is " << (fast ? "not on" : "on");
    return session;
}

// The first line where two texts differ, with its number, for a readable failure.
std::string FirstDifference(const std::string& a, const std::string& b) {
    const std::vector<std::string> x = kvttest::SplitLines(a), y = kvttest::SplitLines(b);
    for (std::size_t i = 0; i < x.size() || i < y.size(); ++i) {
        const std::string l = i < x.size() ? x[i] : "<end>", r = i < y.size() ? y[i] : "<end>";
        if (l != r) {
            return "line " + std::to_string(i + 1) + ":\n  default: " + l + "\n  fast:    " + r;
        }
    }
    return "line ends differ";
}

bool Contains(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

TEST(FastLog, SessionWritesTheBytesOfTheDefaultMode) {
    const std::vector<std::string> tokens(std::begin(kSession), std::end(kSession));
    const Session plain = RunSession("log-default", false, tokens);
    const Session fast = RunSession("log-fast", true, tokens);
    ASSERT_EQ(plain.run.process.exitCode, 0) << plain.run.Transcript();
    ASSERT_EQ(fast.run.process.exitCode, 0) << fast.run.Transcript();
    EXPECT_EQ(fast.run.Starting("ran "), plain.run.Starting("ran "));
    ASSERT_FALSE(plain.run.Starting("done").empty()) << plain.run.Transcript();

    // What the session wrote, in the default mode: every library's load and unload,
    // dumps, the catalogue, the failures.
    for (const char* line : {"[CMNT]  Corvane.dll Initialize", "[CMNT]  KvtQ517.dll Initialize",
                             "[CMNT]  Pellor.q517 Initialize", "[MNTR]  Data[ 0000 ]",
                             "[FUNC] LoadPropertyData - 0", "[ERR!] - ", "[KVTI] KVT_ReleaseAndTransferS",
                             "[CMNT]  Pellor.q517 Terminate", "[CMNT]  KvtQ517.dll Terminate",
                             "[CMNT]  Corvane.dll Terminate"}) {
        EXPECT_TRUE(Contains(plain.log, line)) << line;
    }
    std::printf("the session's log: %zu bytes, %zu lines\n", plain.log.size(),
                kvttest::SplitLines(plain.log).size());
    EXPECT_EQ(fast.log.size(), plain.log.size());
    EXPECT_TRUE(fast.log == plain.log) << FirstDifference(plain.log, fast.log);
}

// Killed while an event procedure waits for its name block: the default mode has the
// operation's first lines, the fast log not; everything before is in both, the same.
TEST(FastLog, KilledProcessKeepsEveryFinishedOperation) {
    const std::vector<std::string> tokens{"GetLanguage", "MonitorSession", "GetBodyID!1",
                                          "interrupt:GetBodyID"};
    const Session plain = RunSession("kill-default", false, tokens);
    const Session fast = RunSession("kill-fast", true, tokens);
    for (const Session* s : {&plain, &fast}) {
        ASSERT_EQ(s->run.Starting("interrupting").size(), 1u) << s->run.Transcript();
        EXPECT_EQ(s->run.process.exitCode, 9) << s->run.Transcript();
        EXPECT_FALSE(Contains(s->log, "Corvane.dll Terminate")) << "a killed process does not unload";
    }
    ASSERT_TRUE(Contains(fast.log, "[FUNC] GetBodyID - ")) << "the finished operations are missing";
    ASSERT_LE(fast.log.size(), plain.log.size());
    EXPECT_EQ(plain.log.substr(0, fast.log.size()), fast.log) << FirstDifference(plain.log, fast.log);
    // What the default mode has beyond: the waiting operation's first lines, if any.
    const std::vector<std::string> rest = kvttest::SplitLines(plain.log.substr(fast.log.size()));
    const std::vector<std::string> waiting{"########## | [----]",
                                           "########## | [KVTI] KVT_ExecuteEventProcS"};
    EXPECT_TRUE(rest.empty() || rest == waiting) << plain.log.substr(fast.log.size());
}

}  // namespace
