// Discovery and loading of plug-ins at library load, from a fresh process each: the two
// file patterns, internal names, the plug-in version check and the plug-in exports.
#include <gtest/gtest.h>

#include "tests/factory_api/DeployFolder.h"

using namespace kvtq517test;

namespace {

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// A folder whose INI check passes, with these plug-in files and list entries.
DeployFolder FolderWith(const std::string& prefix,
                        const std::vector<std::pair<std::string, std::string>>& plugIns,
                        std::vector<verck::Entry> entries) {
    DeployFolder folder(prefix);
    for (const auto& plugIn : plugIns) {
        folder.WithPlugIn(plugIn.first, plugIn.second);
    }
    entries.push_back(IniEntry(kIniName, kIniVersion));
    folder.WithStandardIni().WithVersionList(entries);
    return folder;
}

}  // namespace

TEST(PlugInManager, AnEmptyPlugInFolderLeavesNothingToRegister) {
    const DriverRun run = FolderWith("empty", {}, {}).Run({});
    EXPECT_TRUE(run.HasLog("[FUNC] RegisterPlugInList - 0"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] PlugInList.size()"));
    EXPECT_TRUE(run.HasLog("[FUNC] RegisterEventProcList - 35"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [FUNC] RegisterEventProcList"));
    EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 35"));
    EXPECT_NE(run.process.out.find("ExtensionPatternList.size() = 2"), std::string::npos);
    EXPECT_EQ(Count(run.process.out, "hFile = "), 2);
    EXPECT_EQ(Count(run.process.out, "FullPath = "), 0);
}

TEST(PlugInManager, FindsBothPatternsAndNothingElse) {
    DeployFolder folder = FolderWith(
        "patterns",
        {{"kvtfx_full.dll", "A.q517"}, {"kvtfx_second.dll", "B.q517.dll"},
         {"kvtfx_english.dll", "C.dll"}, {"kvtfx_english.dll", "D.q5170"}},
        {PlugInEntry("A.q517", "2.0.1.0"), PlugInEntry("B.q517.dll", "3.0.0.0")});
    const DriverRun run = folder.Run({});
    EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 0")) << run.process.out;
    const std::string& out = run.process.out;
    EXPECT_NE(out.find("_Q517_\\PlugIn\\"), std::string::npos);
    EXPECT_NE(out.find("PlugInName = A.q517"), std::string::npos);
    EXPECT_NE(out.find("PlugInName = B.q517.dll"), std::string::npos);
    EXPECT_NE(out.find("PlugInList.size() = 2"), std::string::npos);
    EXPECT_EQ(out.find("C.dll"), std::string::npos);
    EXPECT_EQ(out.find("D.q5170"), std::string::npos);
    EXPECT_TRUE(run.HasLog("[VALU] it->GetPlugInName() - A.q517"));
    EXPECT_TRUE(run.HasLog("[VALU] it->GetPlugInName() - B.q517.dll"));
}

TEST(PlugInManager, ASecondFileWithTheSameInternalNameIsFoundedAndNotAdded) {
    DeployFolder folder = FolderWith(
        "founded", {{"kvtfx_full.dll", "One.q517"}, {"kvtfx_full.dll", "Two.q517"}},
        {PlugInEntry("One.q517", "2.0.1.0"), PlugInEntry("Two.q517", "2.0.1.0")});
    const DriverRun run = folder.Run({});
    const std::string& out = run.process.out;
    EXPECT_EQ(Count(out, "Founded"), 1) << out;
    EXPECT_EQ(Count(out, "PlugInList.size() = "), 1);
    EXPECT_EQ(Count(out, "    PlugIn Name is "), 1) << "the second file of the pattern";
    EXPECT_TRUE(run.LogContains("[VALU]    PlugIn Name is "));
    EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 0"));
}

TEST(PlugInManager, APlugInMissingFromTheListFailsTheLoadWith51) {
    DeployFolder folder = FolderWith("notlisted", {{"kvtfx_full.dll", "Fixture.q517"}},
                                     {PlugInEntry("Other.q517", "2.0.1.0")});
    const DriverRun run = folder.Run({"open"});
    EXPECT_TRUE(run.HasLog("[ERR!] DLL Name : Fixture.q517"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [ERR!] DLL is not exist."));
    EXPECT_TRUE(run.HasLog("[ERR!] - [FUNC] _CheckDllVersion"));
    EXPECT_TRUE(run.HasLog("[FUNC] RegisterPlugInList - 51"));
    EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 51"));
    EXPECT_EQ(run.Code("open"), 51u);
}

TEST(PlugInManager, AVersionMismatchWritesTheFourLinesAndFailsWith51) {
    DeployFolder folder = FolderWith("mismatch", {{"kvtfx_full.dll", "Fixture.q517"}},
                                     {PlugInEntry("Fixture.q517", "9.9.9.9")});
    const DriverRun run = folder.Run({"open"});
    const int first = run.LogIndex("[ERR!] ");
    ASSERT_GE(first, 0);
    EXPECT_EQ(run.log[first + 1], "[ERR!] Fixture.q517");
    EXPECT_EQ(run.log[first + 2], "[ERR!]   PlugIn  -> 2.0.1.0");
    EXPECT_EQ(run.log[first + 3], "[ERR!]   Regist. -> 9.9.9.9");
    EXPECT_EQ(run.log[first + 4], "[ERR!] - [ERR!] DLL Version mismatch.");
    EXPECT_EQ(run.Code("open"), 51u);
    EXPECT_FALSE(run.LogContains("GetLastError")) << "nothing was loaded";
}

// Without the Japanese string table the version reads "Unknown", which only a
// registered "Unknown" matches.
TEST(PlugInManager, AVersionWithoutTheJapaneseStringTableIsUnknown) {
    struct Case {
        const char* registered;
        const char* initialize;
    } cases[] = {{"Unknown", "[FUNC] Initialize - 0"}, {"4.0.0.0", "[FUNC] Initialize - 51"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.registered);
        DeployFolder folder = FolderWith("unknown", {{"kvtfx_english.dll", "English.q517"}},
                                         {PlugInEntry("English.q517", c.registered)});
        const DriverRun run = folder.Run({});
        EXPECT_TRUE(run.HasLog(c.initialize));
        if (std::string(c.registered) != "Unknown") {
            EXPECT_TRUE(run.HasLog("[ERR!]   PlugIn  -> Unknown"));
        }
    }
}

TEST(PlugInManager, APlugInWithoutRegisterEventProcListFailsWith1) {
    DeployFolder folder = FolderWith("noregister", {{"kvtfx_noregister.dll", "NoRegister.q517"}},
                                     {PlugInEntry("NoRegister.q517", "1.0.0.0")});
    const DriverRun run = folder.Run({"open"});
    EXPECT_TRUE(run.HasLog("[FUNC] RegisterPlugInList - 0"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [WAPI] GetProcAddress : RegisterEventProcList"));
    EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 1"));
    EXPECT_EQ(run.Code("open"), 1u);
}

// Exported only as "_RegisterInitializeFuncList@4", the initialize list is not found:
// the plug-in is skipped without error and adds no function.
TEST(PlugInManager, ADecoratedInitializeListExportIsSkipped) {
    DeployFolder folder = FolderWith("decorated", {{"kvtfx_decorated.dll", "Decorated.q517"}},
                                     {PlugInEntry("Decorated.q517", "1.0.0.0")});
    folder.WithCamera();
    const DriverRun run = folder.Run({"open", "exec:FxDecorated"});
    EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 0"));
    EXPECT_TRUE(run.HasLog("[VALU] it->GetPlugInName() - Decorated.q517"));
    EXPECT_EQ(run.Code("open"), 0u);
    EXPECT_TRUE(run.HasLog("InitializeFuncList.size() - 0"));
    EXPECT_EQ(run.Code("exec:FxDecorated"), 0u);
}

TEST(PlugInManager, AFileThatCannotBeLoadedFailsWith1AndItsError) {
    DeployFolder folder = FolderWith("notadll", {}, {PlugInEntry("Broken.q517", "Unknown")});
    kvttest::WriteFileBytes(folder.PlugInDir() + "Broken.q517", "not a library");
    const DriverRun run = folder.Run({});
    EXPECT_TRUE(run.LogContains("[VALU] GetLastError - "));
    EXPECT_TRUE(run.HasLog("[ERR!] - [WAPI] LoadLibrary"));
    EXPECT_TRUE(run.HasLog("[FUNC] RegisterPlugInList - 1"));
    EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 1"));
}

TEST(PlugInManager, InitializeChecksTheConfigurationFirst) {
    const DriverRun run = ReadyFolder("configuration").Run({});
    const int initialize = run.LogIndex("[FUNC] Initialize");
    ASSERT_GE(initialize, 1);
    EXPECT_NE(run.log[initialize - 1], "[----]") << "Initialize writes no separator line";
    EXPECT_EQ(run.log[initialize + 1], "[FUNC] CheckConfiguration");
    EXPECT_EQ(run.log[initialize + 2], "[VALU] ModelID - 0x80000517");
    EXPECT_EQ(run.log[initialize + 3], "[FUNC] CheckConfiguration - 0");
    EXPECT_EQ(run.log[initialize + 4], "[----]");
    EXPECT_EQ(run.log[initialize + 5], "[FUNC] RegisterPlugInList");
    EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 0"));
    EXPECT_TRUE(run.HasLog("[FUNC] Terminate - 0"));
}
