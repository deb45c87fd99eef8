// Corvane's load and unload: the banners and the current-time line in the current
// directory's KvtDll.log, the published module handle, the timer's restart line.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "common/SharedMemory.h"
#include "support/TestSupport.h"

namespace {

const std::string kRule = "[CMNT] " + std::string(79, '*');
const char kRestartLine[] = ">>>>> Global Timer Restart >>>>>";

bool IsStamped(const std::string& raw) {
    return std::regex_match(raw.substr(0, 13), std::regex(" *[0-9]+ \\| "));
}

bool IsCurrentTimeLine(const std::string& line) {
    return std::regex_match(
        line, std::regex("\\[CMNT\\] Current Time is (Sun|Mon|Tue|Wed|Thu|Fri|Sat) "
                         "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 123][0-9] "
                         "[0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}"));
}

// The lines one load and unload of Corvane writes when no device was opened.
std::vector<std::string> LoadAndUnloadLines() {
    return {kRule,
            "[CMNT]  Corvane.dll Initialize",
            kRule,
            "<current time>",
            "[----]",
            "[FUNC] TerminateApiManager",
            "[FUNC] TerminateApiManager Without Init.",
            "[FUNC] TerminateApiManager - 0",
            kRule,
            "[CMNT]  Corvane.dll Terminate",
            kRule};
}

void ExpectLoadAndUnload(const std::vector<std::string>& lines, std::size_t from) {
    const std::vector<std::string> expected = LoadAndUnloadLines();
    ASSERT_GE(lines.size(), from + expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] == "<current time>") {
            EXPECT_TRUE(IsCurrentTimeLine(lines[from + i])) << lines[from + i];
        } else {
            EXPECT_EQ(lines[from + i], expected[i]) << "line " << from + i;
        }
    }
}

}  // namespace

TEST(CorvaneLoad, PublishesItsModuleHandle) {
    HMODULE corvane = ::GetModuleHandleA("Corvane.dll");
    ASSERT_NE(corvane, nullptr);
    CCommonModuleSharedMemory block;
    std::uint32_t word = 0;
    ASSERT_TRUE(kvt::BlockAccess(block).Read(word));
    EXPECT_EQ(word, kvt::ModuleHandleToWord(corvane));
}

// A child loads and frees a copy of Corvane.dll twice. Its log goes to its current
// directory, not to the DLL's folder; at each load the staging buffer does not exist
// yet when the timer restarts, so no restart line; after the closing banner nothing
// more of that load reaches the file.
TEST(CorvaneLoad, LoadAndUnloadWriteBannersToTheCurrentDirectory) {
    const std::string dllDir = kvttest::MakeFreshDir("dll");
    const std::string workDir = kvttest::MakeFreshDir("cwd");
    ASSERT_TRUE(kvttest::CopyFileTo(kvttest::BinDir() + "Corvane.dll", dllDir + "Corvane.dll"));
    kvttest::ProcessResult r = kvttest::RunProcess(
        "\"" + kvttest::BinDir() + "reload_child.exe\" \"" + dllDir + "Corvane.dll\"", workDir);
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    // Each load publishes its own handle: in the 64-bit build the fixed base below 2 GB,
    // in the 32-bit build wherever the loader put the copy.
    const std::regex loadLine("module=(0x[0-9a-f]{8}) published=(0x[0-9a-f]{8})\r?");
    int loads = 0;
    for (const std::string& line : kvttest::SplitLines(r.out)) {
        std::smatch m;
        if (std::regex_match(line, m, loadLine)) {
            ++loads;
            EXPECT_EQ(m[1].str(), m[2].str()) << line;
            if (sizeof(void*) == 8) {
                EXPECT_EQ(m[1].str(), "0x10000000") << line;
            }
        }
    }
    EXPECT_EQ(loads, 2) << r.out;

    EXPECT_FALSE(kvttest::FileExists(dllDir + "KvtDll.log"));
    const std::vector<std::string> raw = kvttest::ReadLogLines(workDir + "KvtDll.log", false);
    const std::vector<std::string> lines = kvttest::ReadLogLines(workDir + "KvtDll.log");
    const std::size_t once = LoadAndUnloadLines().size();
    ASSERT_EQ(lines.size(), 2 * once);
    ExpectLoadAndUnload(lines, 0);
    ExpectLoadAndUnload(lines, once);
    for (const std::string& line : raw) {
        EXPECT_TRUE(IsStamped(line)) << line;
    }
    // The restart still shows on standard output.
    std::size_t restarts = 0;
    for (std::size_t at = r.out.find("Global Timer Restart"); at != std::string::npos;
         at = r.out.find("Global Timer Restart", at + 1)) {
        ++restarts;
    }
    EXPECT_EQ(restarts, 2u);
    if (!HasFailure()) {
        kvttest::RemoveTree(dllDir);
    }
    if (!HasFailure()) {
        kvttest::RemoveTree(workDir);
    }
}

// A Start after the load finds the staging buffer: its line is written, unstamped.
TEST(CorvaneLoad, LaterRestartWritesItsLineWithoutStamp) {
    const std::string workDir = kvttest::MakeFreshDir("restart");
    kvttest::ProcessResult r =
        kvttest::RunProcess("\"" + kvttest::BinDir() + "log_child.exe\" restart", workDir);
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const std::vector<std::string> raw = kvttest::ReadLogLines(workDir + "KvtDll.log", false);
    ASSERT_GE(raw.size(), 5u);
    EXPECT_EQ(kvttest::FindLine(raw, kRestartLine), 4) << "right after the current time";
    EXPECT_EQ(kvttest::FindLine(raw, kRestartLine, 5), -1);
    if (!HasFailure()) {
        kvttest::RemoveTree(workDir);
    }
}
