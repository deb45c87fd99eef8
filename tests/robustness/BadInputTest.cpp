// Bad arguments on every export and on every plug-in procedure through the host, with
// caller memory that ends at a no-access page: each call returns a clear code (the one
// expected, where there is one) and none crashes the factory program.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/robustness/RobustFolder.h"

namespace {

using robusttest::DriverOutput;
using robusttest::RobustFolder;

struct Got {
    std::string label;
    long result = -1;
    std::string expect;
};

// "got <group> <label> = <code> expect=<e>"
Got ParseGot(const std::string& line) {
    Got g;
    const std::size_t eq = line.rfind(" = ");
    const std::size_t ex = line.rfind(" expect=");
    g.label = line.substr(4, eq - 4);
    g.result = std::strtol(line.c_str() + eq + 3, nullptr, 10);
    g.expect = line.substr(ex + 8);
    return g;
}

// Every case that started also ended (a crash leaves its "case" line alone), and each
// result is what the case expects: a code, "refused" (odd, nonzero) or "any" (a clear
// code: 0 or odd).
void CheckCases(const DriverOutput& run) {
    const std::vector<std::string> started = run.Starting("case ");
    const std::vector<std::string> ended = run.Starting("got ");
    ASSERT_EQ(started.size(), ended.size())
        << "crashed or stopped in: " << (started.empty() ? "?" : started.back()) << "\n"
        << run.Transcript();
    for (std::size_t i = 0; i < ended.size(); ++i) {
        const Got g = ParseGot(ended[i]);
        EXPECT_EQ(started[i].substr(5), g.label);
        if (g.expect == "refused") {
            EXPECT_TRUE(g.result != 0 && (g.result & 1) == 1) << ended[i];
        } else if (g.expect == "any") {
            EXPECT_TRUE(g.result == 0 || (g.result & 1) == 1) << ended[i];
        } else {
            EXPECT_EQ(std::to_string(g.result), g.expect) << ended[i];
        }
    }
    EXPECT_EQ(run.process.exitCode, 0) << run.Transcript();
    EXPECT_FALSE(run.Starting("done").empty()) << run.Transcript();
}

TEST(BadInput, EveryExport) {
    const RobustFolder folder("bad-exports");
    const DriverOutput run = folder.Run({"badinput", "exports"}, 240000);
    CheckCases(run);
    EXPECT_GE(run.Starting("got ").size(), 150u);
}

TEST(BadInput, EveryProcedureThroughTheHost) {
    const RobustFolder folder("bad-procedures");
    const DriverOutput run = folder.Run({"badinput", "procedures", KVT_PROCEDURE_LIST}, 240000);
    CheckCases(run);
    EXPECT_EQ(run.Starting("procedures 131").size(), 1u) << "the procedure list has 131 names";
    EXPECT_TRUE(run.Starting("unknown shape").empty()) << run.Transcript();
}

}  // namespace
