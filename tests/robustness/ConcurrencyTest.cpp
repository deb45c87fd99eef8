// Several factory programs in one folder at once: four processes log, publish paths
// and run event procedures concurrently; every tagged log line arrives exactly once,
// no block is ever seen torn, and all finish in bounded time; with the fast log their
// operations arrive whole. A process killed while it holds the block mutexes does not
// block the others.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "channel/ChildProcess.h"
#include "common/Win32.h"
#include "tests/robustness/RobustFolder.h"

namespace {

using robusttest::FieldNumber;
using robusttest::RobustFolder;

constexpr unsigned kRounds = 150;
constexpr unsigned kWorkerTimeoutMs = 180000;

// Starts the driver in the folder (the children's current directory is ours at Start).
std::unique_ptr<chtest::ChildProcess> StartDriver(const RobustFolder& folder,
                                                  const std::vector<std::string>& args) {
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ::SetCurrentDirectoryA(folder.Path().c_str());
    auto child = std::make_unique<chtest::ChildProcess>();
    try {
        child->Start(folder.CommandLine(args));
    } catch (...) {
        ::SetCurrentDirectoryA(previous);
        throw;
    }
    ::SetCurrentDirectoryA(previous);
    return child;
}

// The worker's result line, checked: all rounds, nothing torn, nothing failed.
void CheckWorker(chtest::ChildProcess& child, const std::string& tag, unsigned rounds) {
    ASSERT_TRUE(child.WaitForExit(kWorkerTimeoutMs)) << "worker " << tag << " did not finish (deadlock?)";
    EXPECT_EQ(child.ExitCode(), 0) << child.Out() << child.Err();
    const std::string out = child.Out();
    const std::size_t at = out.find("@@ worker " + tag + " ");
    ASSERT_NE(at, std::string::npos) << out;
    const std::string line = out.substr(at, out.find('\n', at) - at);
    EXPECT_EQ(FieldNumber(line, "rounds"), static_cast<long>(rounds)) << line;
    EXPECT_EQ(FieldNumber(line, "torn"), 0) << line;
    EXPECT_EQ(FieldNumber(line, "failures"), 0) << line;
}

// How often each line occurs in the folder's log.
std::map<std::string, int> LogLineCounts(const RobustFolder& folder) {
    std::map<std::string, int> counts;
    for (const std::string& line : kvttest::ReadLogLines(folder.Path() + "KvtDll.log")) {
        ++counts[line];
    }
    return counts;
}

// Each of the worker's tagged lines is in the log exactly once.
void CheckTaggedLines(const std::map<std::string, int>& counts, const std::string& tag,
                      unsigned rounds) {
    unsigned wrong = 0;
    for (unsigned i = 0; i < rounds && wrong < 5; ++i) {
        const std::string n = tag + "-" + std::to_string(i);
        for (const std::string& line : {"[VALU] pszFilePath file-" + n,
                                        "[VALU] pszFolderPath folder-" + n + "\\",
                                        "[CMNT] Not Found - Tag" + n}) {
            const auto it = counts.find(line);
            const int seen = it == counts.end() ? 0 : it->second;
            if (seen != 1) {
                ADD_FAILURE() << "\"" << line << "\" logged " << seen << " times";
                ++wrong;
            }
        }
    }
}

TEST(Concurrency, FourProcessesLogAndShareTheBlocks) {
    const RobustFolder folder("four");
    const std::vector<std::string> tags{"A", "B", "C", "D"};
    std::vector<std::unique_ptr<chtest::ChildProcess>> workers;
    for (const std::string& tag : tags) {
        workers.push_back(StartDriver(folder, {"worker", tag, std::to_string(kRounds)}));
    }
    for (std::size_t i = 0; i < tags.size(); ++i) {
        CheckWorker(*workers[i], tags[i], kRounds);
    }
    const std::map<std::string, int> counts = LogLineCounts(folder);
    for (const std::string& tag : tags) {
        CheckTaggedLines(counts, tag, kRounds);
    }
    // No two commits mixed within a line: a stamp appears only at a line's start.
    for (const std::string& line : kvttest::ReadLogLines(folder.Path() + "KvtDll.log", false)) {
        const std::size_t stamp = line.find(" | ");
        if (stamp != std::string::npos && line.compare(0, 1, " ") == 0) {
            EXPECT_EQ(stamp, 10u) << "a line cut or mixed: " << line;
            EXPECT_EQ(line.find(" | [", stamp + 3), std::string::npos) << "two lines in one: " << line;
        }
    }
}

// With the fast log each process writes an operation's lines with one write: another
// process's lines never land inside it.
TEST(Concurrency, FastLogKeepsEachOperationWhole) {
    const RobustFolder folder("four-fast");
    const std::vector<std::string> tags{"A", "B", "C", "D"};
    std::vector<std::unique_ptr<chtest::ChildProcess>> workers;
    ::SetEnvironmentVariableA("KVT_FAST_LOG", "1");
    for (const std::string& tag : tags) {
        workers.push_back(StartDriver(folder, {"worker", tag, std::to_string(kRounds)}));
    }
    ::SetEnvironmentVariableA("KVT_FAST_LOG", nullptr);
    for (std::size_t i = 0; i < tags.size(); ++i) {
        CheckWorker(*workers[i], tags[i], kRounds);
    }
    for (const std::string& tag : tags) {
        CheckTaggedLines(LogLineCounts(folder), tag, kRounds);
    }
    const std::vector<std::string> lines = kvttest::ReadLogLines(folder.Path() + "KvtDll.log");
    unsigned whole = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("[VALU] pszFilePath file-", 0) != 0) {
            continue;
        }
        ASSERT_TRUE(i >= 2 && i + 1 < lines.size()) << lines[i];
        EXPECT_EQ(lines[i - 2], "[----]") << lines[i];
        EXPECT_EQ(lines[i - 1], "[FUNC] KVT_SetFilePath") << lines[i];
        EXPECT_EQ(lines[i + 1], "[FUNC] KVT_SetFilePath - 0") << lines[i];
        ++whole;
    }
    EXPECT_EQ(whole, tags.size() * kRounds);
}

TEST(Concurrency, KilledHolderOfTheBlockMutexesBlocksNoOne) {
    const RobustFolder folder("killed");
    // Every block a factory program touches: the load's (handle, model, parser handle,
    // configuration), the execute's (name, configuration) and the paths and body number.
    const std::string mutexes =
        "MUTEX_NAME_HANDLE,MUTEX_NAME_MODELID,MUTEX_NAME_PARSER_HANDLE,"
        "MUTEX_NAME_CONFIGURATION,MUTEX_NAME_FILE,MUTEX_NAME_FOLDER,MUTEX_NAME_EVENTPROCNAME,"
        "MUTEX_NAME_BODYID";
    auto holder = StartDriver(folder, {"hold", mutexes});
    ASSERT_TRUE(holder->WaitForOut("@@ holding", 60000)) << holder->Out() << holder->Err();

    // A worker that needs the blocks waits while they are held ...
    auto worker = StartDriver(folder, {"worker", "E", "5"});
    EXPECT_FALSE(worker->WaitForExit(1500)) << "the worker did not wait for the held mutexes";
    // ... and goes on once their holder is killed (the mutexes are abandoned).
    holder->Kill();
    CheckWorker(*worker, "E", 5);
    // Later processes find the abandoned mutexes usable as well.
    auto next = StartDriver(folder, {"worker", "F", "5"});
    CheckWorker(*next, "F", 5);
    const std::map<std::string, int> counts = LogLineCounts(folder);
    CheckTaggedLines(counts, "E", 5);
    CheckTaggedLines(counts, "F", 5);
}

// Corvane can sit at different addresses in different processes (a relocated load, a
// colliding base), and the module-handle block holds the handle of whichever process
// loaded it last. Paths must still resolve to this process's own Corvane folder.
TEST(Concurrency, HandleBlockWrittenByAnotherProcessesCorvane) {
    const RobustFolder folder("foreign");
    const robusttest::DriverOutput run = folder.Run({"foreign-handle"}, 120000);
    const std::vector<std::string> lines = run.Starting("foreign ");
    ASSERT_EQ(lines.size(), 1u) << run.Transcript();
    EXPECT_EQ(FieldNumber(lines[0], "open"), 0) << lines[0];
    EXPECT_EQ(FieldNumber(lines[0], "debug"), 0) << lines[0];
    EXPECT_TRUE(kvttest::DirExists(folder.Path() + "_Q517_\\_DebugData"));
}

}  // namespace
