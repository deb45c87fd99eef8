// The per-body debug folders (CFilePath::CreateIndividualDirectory of the folder's
// Corvane.dll) and KVT_Debug (the factory API library's own copy of CFilePath), with the
// body number from the body-ID block or from the simulated camera.
#include <gtest/gtest.h>

#include "propfiles/PropFilesFolder.h"

namespace {

using propfilestest::Folder;
using propfilestest::Outcome;
using propfilestest::Scenario;

constexpr std::uint32_t kPropBodyID = 0x01000006;

unsigned BodyIDReads(const Outcome& run) {
    unsigned reads = 0;
    for (const kvttest::SimCall& call : run.Executes("FA_GetProperty")) {
        reads += call.Param(0) == kPropBodyID ? 1 : 0;
    }
    return reads;
}

// The block has priority over the camera; the text is the number in 12 digits, a
// longer number keeps its first 12.
TEST(BodyFolder, TheTextComesFromTheBlockInTwelveDigits) {
    const Folder folder("body-text", Scenario("[Camera0]\nBodyNumber = 777\n"));
    const Outcome run = folder.Execute({"open", "body-set|123456789", "indiv|Log|Data",
                                    "body-set|12345678901234", "indiv|Gain|Raw"});
    ASSERT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("indiv|Log|Data"), 0u);
    EXPECT_EQ(run.Text("indiv|Log|Data"), folder.DebugDataDir() + "Log\\000123456789\\Data\\");
    EXPECT_EQ(run.Code("indiv|Gain|Raw"), 0u);
    EXPECT_EQ(run.Text("indiv|Gain|Raw"), folder.DebugDataDir() + "Gain\\123456789012\\Raw\\");
    EXPECT_TRUE(run.HasLog("[VALU] _BodyID - 000123456789"));
    EXPECT_TRUE(run.HasLog("[VALU] _BodyID - 123456789012"));
    EXPECT_EQ(BodyIDReads(run), 0u);
}

// An empty block: the camera is read once, the number cached, the block used after.
TEST(BodyFolder, TheCameraIsReadOnceThenTheBlockServes) {
    const Folder folder("body-camera", Scenario("[Camera0]\nBodyNumber = 5\n"));
    const Outcome run = folder.Execute(
        {"open", "body-get", "indiv|Log|Data", "body-get", "indiv|Log|Data|again"});
    ASSERT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Text("body-get"), "0");
    const std::string expected = folder.DebugDataDir() + "Log\\000000000005\\Data\\";
    EXPECT_EQ(run.Code("indiv|Log|Data"), 0u);
    EXPECT_EQ(run.Text("indiv|Log|Data"), expected);
    EXPECT_EQ(BodyIDReads(run), 1u);
    for (const std::string& level :
         {std::string("Log\\"), std::string("Log\\000000000005\\"), std::string("Log\\000000000005\\Data\\")}) {
        EXPECT_TRUE(kvttest::DirExists(folder.DebugDataDir() + level)) << level;
    }
    // The second body-get sees the cached number.
    int cached = 0;
    for (const std::string& line : run.results) {
        cached += line == "body-get = 0 5" ? 1 : 0;
    }
    EXPECT_EQ(cached, 1);
}

// Both names are checked before any folder is made or the camera is asked.
TEST(BodyFolder, EmptyNamesAreRefusedBeforeAnyFolderIsCreated) {
    const Folder folder("body-empty", Scenario("[Camera0]\nBodyNumber = 5\n"));
    const Outcome run = folder.Execute({"open", "indiv||Data", "indiv|Log|"});
    ASSERT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("indiv||Data"), 1u);
    EXPECT_EQ(run.Text("indiv||Data"), "[FUNC] CFilePath::CreateIndividualDirectory");
    EXPECT_EQ(run.Code("indiv|Log|"), 1u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] DirectoryNameMain.length()"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] DirectoryNameSub.length()"));
    EXPECT_FALSE(kvttest::DirExists(folder.DebugDataDir()));
    EXPECT_EQ(BodyIDReads(run), 0u);
}

// A reply of four bytes would cache a wrong number for every process: refused, and the
// block stays empty. The main folder made before stays.
TEST(BodyFolder, AShortBodyIDReplyIsRefusedAndNotCached) {
    const Folder folder("body-short", Scenario("[Camera0.Public]\n0x01000006 = u32:5\n"));
    const Outcome run = folder.Execute({"open", "indiv|Log|Data", "body-get"});
    ASSERT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("indiv|Log|Data"), 1u);
    EXPECT_EQ(run.Text("body-get"), "0");
    const int size = run.LogIndex("[VALU] PropertyDataSize - 4");
    ASSERT_GE(size, 0);
    const int failure = run.LogIndex("[ERR!] - [VALU] PropertyDataSize", size);
    ASSERT_GT(failure, size);
    const int rethrown = run.LogIndex("[ERR!] - [FUNC] CFilePath::_GetBodyID", failure);
    EXPECT_GT(rethrown, failure);
    EXPECT_TRUE(kvttest::DirExists(folder.DebugDataDir() + "Log\\"));
    EXPECT_FALSE(kvttest::DirExists(folder.DebugDataDir() + "Log\\000000000005\\"));
}

// KVT_Debug needs no open device; before the open the camera read fails and the code of
// CFilePath comes back.
TEST(BodyFolder, DebugCreatesTheGainFolderOfTheConnectedCamera) {
    const Folder folder("body-debug", Scenario("[Camera0]\nBodyNumber = 123456789\n"));
    const Outcome run = folder.Execute({"debug", "open", "debug"});
    ASSERT_EQ(run.Code("open"), 0u) << run.process.out;
    const int first = run.LogIndex("[KVTI] KVT_Debug");
    ASSERT_GE(first, 1);
    EXPECT_EQ(run.log[first - 1], "[----]");
    EXPECT_GT(run.LogIndex("[ERR!] - [FUNC] CFilePath::CreateIndividualDirectory", first), first);
    EXPECT_GT(run.LogIndex("[KVTI] KVT_Debug - 1", first), first);

    const std::string gain = folder.DebugDataDir() + "IsoGain\\000123456789\\Data\\";
    const int second = run.LogIndex("[KVTI] KVT_Debug", first + 1);
    ASSERT_GT(second, first);
    const int line = run.LogIndex("[VALU] IndividualFullPath - " + gain, second);
    ASSERT_GT(line, second);
    EXPECT_GT(run.LogIndex("[KVTI] KVT_Debug - 0", line), line);
    EXPECT_TRUE(kvttest::DirExists(gain));
}

}  // namespace
