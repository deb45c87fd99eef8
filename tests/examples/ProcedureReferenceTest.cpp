// The procedure reference: procref reads the registration of the real Pellor.q517 and
// the description file beside its table. The checked-in docs/procedures.md must be
// what it writes, every registered name must be described, and a description that
// contradicts the registration fails the run.
#include <gtest/gtest.h>

#include <string>

#include "support/TestSupport.h"
#include "tests/examples/DeployCopy.h"

namespace {

const std::string kDescriptions = sdktest::WindowsPath(KVT_PROCREF_DESCRIPTIONS);
const std::string kCheckedIn = sdktest::WindowsPath(KVT_PROCREF_CHECKED_IN);

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

kvttest::ProcessResult RunProcref(const std::string& options, const std::string& descriptions,
                                  const std::string& output) {
    const std::string bin = kvttest::BinDir();
    const std::string command = Quoted(bin + "procref.exe") + " " + options + " " +
                                Quoted(bin + "Pellor.q517") + " " + Quoted(descriptions) + " " +
                                Quoted(output);
    return kvttest::RunProcess(command, kvttest::CurrentDir());
}

// The description file with the line of `name` replaced (by nothing when `line` is
// empty); with an empty `name`, `line` is appended.
std::string EditedDescriptions(const std::string& name, const std::string& line) {
    std::string text = kvttest::ReadFileBytes(kDescriptions);
    if (name.empty()) {
        return text + line + "\n";
    }
    const std::string head = "\n" + name + " |";
    const auto at = text.find(head);
    if (at == std::string::npos) {
        return std::string();
    }
    const auto end = text.find('\n', at + 1);
    return text.substr(0, at + 1) + (line.empty() ? "" : line + "\n") + text.substr(end + 1);
}

TEST(ProcedureReference, CheckedInCopyIsWhatThePlugInRegisters) {
    const std::string output = kvttest::CurrentDir() + "procedures.md";
    const kvttest::ProcessResult run =
        RunProcref("--compare " + Quoted(kCheckedIn), kDescriptions, output);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("procref: 131 names, 131 descriptions, 0 problems"), std::string::npos)
        << run.out;
    const std::string reference = kvttest::ReadFileBytes(output);
    EXPECT_NE(reference.find("131 names, 126 procedures."), std::string::npos);
    EXPECT_NE(reference.find("| 23 | `GetBodyID` | `BODYID_T` | out | 20 | 20 |"), std::string::npos);
    EXPECT_NE(reference.find("| 6 | `DisableAf` | none | - | - | - | Turns autofocus off. "
                             "Same procedure as `DisableAF`. |"),
              std::string::npos);
}

struct BadDescription {
    const char* what;
    const char* name;      // line replaced; empty: `line` appended
    const char* line;      // replacement; empty: the line removed
    const char* message;   // expected on standard error
};

const BadDescription kBadDescriptions[] = {
    {"missing", "GetBodyID", "", "GetBodyID (row 23) has no description"},
    {"unregistered", "", "GetNothing | none | Does nothing.",
     "GetNothing (line 143) is described but not registered"},
    {"twice", "", "DisableAF | none | Again.", "DisableAF is described twice (lines 16 and 143)"},
    {"wrong size", "GetSensorNumber", "GetSensorNumber | text 15 out | Short.",
     "GetSensorNumber (row 36) is registered with 16 bytes, its parameter \"text 15 out\" has 15"},
    {"wrong direction", "SetBodyID", "SetBodyID | BODYID_T out | Backwards.",
     "SetBodyID (row 22) is registered as in, its parameter \"BODYID_T out\" is out"},
    {"no size", "GetMachineCellDispDialResultTable",
     "GetMachineCellDispDialResultTable | bytes out | Unsized.",
     "is registered with 128 bytes, its parameter \"bytes out\" has no fixed size"},
    {"unknown shape", "GetLanguage", "GetLanguage | u33 out | Typo.",
     "GetLanguage: \"u33 out\" is not a parameter shape"},
    {"two fields", "GetLanguage", "GetLanguage | u32 out", "expected \"<name> | <parameter> | <what it does>\""},
};

TEST(ProcedureReference, DescriptionThatDisagreesFailsTheRun) {
    int n = 0;
    for (const BadDescription& c : kBadDescriptions) {
        SCOPED_TRACE(c.what);
        const std::string edited = EditedDescriptions(c.name, c.line);
        ASSERT_FALSE(edited.empty());
        const std::string file = kvttest::CurrentDir() + "edited-" + std::to_string(n++) + ".txt";
        ASSERT_TRUE(kvttest::WriteFileBytes(file, edited));
        const kvttest::ProcessResult run =
            RunProcref("", file, kvttest::CurrentDir() + "edited.md");
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST(ProcedureReference, LenientRunListsTheUndescribedName) {
    const std::string file = kvttest::CurrentDir() + "lenient.txt";
    ASSERT_TRUE(kvttest::WriteFileBytes(file, EditedDescriptions("SaveVideoSystem", "")));
    const std::string output = kvttest::CurrentDir() + "lenient.md";
    const kvttest::ProcessResult run = RunProcref("--lenient", file, output);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("procref: warning: SaveVideoSystem (row 131) has no description"),
              std::string::npos)
        << run.err;
    EXPECT_NE(kvttest::ReadFileBytes(output).find(
                  "| 131 | `SaveVideoSystem` | none | - | - | - | (no description) |"),
              std::string::npos);
}

TEST(ProcedureReference, StaleCheckedInCopyFailsTheRun) {
    const std::string stale = kvttest::CurrentDir() + "stale.md";
    ASSERT_TRUE(kvttest::WriteFileBytes(
        stale, kvttest::ReadFileBytes(kCheckedIn) + "| 132 | `Extra` | none | - | - | - | Gone. |\n"));
    const kvttest::ProcessResult run = RunProcref("--compare " + Quoted(stale), kDescriptions,
                                                  kvttest::CurrentDir() + "fresh.md");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("is not the reference the plug-in gives"), std::string::npos) << run.err;
}

TEST(ProcedureReference, PlugInThatCannotBeLoadedIsAnError) {
    const std::string bin = kvttest::BinDir();
    const kvttest::ProcessResult run = kvttest::RunProcess(
        Quoted(bin + "procref.exe") + " " + Quoted(bin + "NoSuchPlugIn.q517") + " " +
            Quoted(kDescriptions) + " " + Quoted(kvttest::CurrentDir() + "none.md"),
        kvttest::CurrentDir());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("procref: cannot load"), std::string::npos) << run.err;
}

}  // namespace
