// Broken version list, property INI file and "BoardInf.ini": a few hundred generated
// cases (seeded, so a failure can be replayed with the driver's "malformed" mode), each
// with the library loaded afresh. No case crashes or hangs, each gives a clear code:
// the load result through KVT_OpenDevice, and the board procedures' results.
#include <gtest/gtest.h>

#include <iostream>
#include <set>

#include "tests/robustness/RobustFolder.h"

namespace {

using robusttest::DriverOutput;
using robusttest::FieldNumber;
using robusttest::RobustFolder;

struct FileCase {
    const char* kind;
    unsigned seed;
    unsigned count;
};

// Codes a load can end in because of its files: a failed read (1), an allocation (5),
// the plug-in version check (51), the INI version check (53).
const std::set<long> kLoadCodes = {0, 1, 5, 51, 53};

class MalformedFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(MalformedFiles, ClearCodeNoCrashNoHang) {
    const FileCase& c = GetParam();
    const RobustFolder folder(std::string("malformed-") + c.kind);
    const DriverOutput run = folder.Run(
        {"malformed", c.kind, std::to_string(c.seed), std::to_string(c.count)}, 300000);
    ASSERT_TRUE(run.Starting("hang").empty()) << run.Starting("hang")[0];
    const std::vector<std::string> started = run.Starting("case ");
    const std::vector<std::string> ended = run.Starting("file ");
    ASSERT_EQ(started.size(), ended.size())
        << "crashed in: " << (started.empty() ? "?" : started.back()) << "\n" << run.Transcript();
    ASSERT_EQ(ended.size(), c.count) << run.Transcript();
    EXPECT_EQ(run.process.exitCode, 0) << run.Transcript();
    EXPECT_FALSE(run.Starting("done").empty());

    // Case 0 is the sound file: the device opens and the board procedures work.
    EXPECT_EQ(FieldNumber(ended[0], "open"), 0) << ended[0];
    if (std::string(c.kind) == "boardinf") {
        EXPECT_EQ(FieldNumber(ended[0], "get"), 0) << ended[0];
        EXPECT_EQ(FieldNumber(ended[0], "copy"), 0) << ended[0];
        EXPECT_EQ(FieldNumber(ended[0], "set"), 0) << ended[0];
    }
    unsigned refused = 0;
    unsigned refusedByProcedure = 0;   // loaded, then a board procedure refused the file
    for (const std::string& line : ended) {
        SCOPED_TRACE(line);
        const long open = FieldNumber(line, "open");
        EXPECT_EQ(kLoadCodes.count(open), 1u) << "not a load result";
        if (open != 0) {
            ++refused;
            EXPECT_GE(FieldNumber(line, "err"), 1) << "a refused load without [ERR!] line";
        }
        bool procedureRefused = false;
        for (const char* proc : {"get", "copy", "set"}) {
            const long r = FieldNumber(line, proc, 0);
            EXPECT_TRUE(r == 0 || (r & 1) == 1) << proc << " gave no clear code";
            if (open != 0 && FieldNumber(line, proc) >= 0) {
                EXPECT_EQ(r, 29) << proc << " ran on a device that did not open";
            }
            procedureRefused = procedureRefused || (open == 0 && r != 0);
        }
        refusedByProcedure += procedureRefused ? 1u : 0u;
    }
    // The generator breaks most files; a loop that refuses none would test nothing.
    EXPECT_GT(refused + refusedByProcedure, c.count / 4);
    if (std::string(c.kind) == "boardinf") {
        EXPECT_GT(refusedByProcedure, c.count / 10) << "few broken keys reached the procedures";
    }
    std::cout << c.kind << ": " << c.count << " cases, " << refused << " refused at load, "
              << refusedByProcedure << " by a board procedure\n";
}

INSTANTIATE_TEST_SUITE_P(Files, MalformedFiles,
                         ::testing::Values(FileCase{"verck", 517, 120}, FileCase{"ini", 4711, 100},
                                           FileCase{"boardinf", 96, 100}),
                         [](const ::testing::TestParamInfo<FileCase>& info) {
                             return std::string(info.param.kind);
                         });

}  // namespace
