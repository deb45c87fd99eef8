// The version list against plug-ins and property INI files, including malformed and
// short lists, from a fresh process each.
#include <gtest/gtest.h>

#include "factory_api/plugin/VersionCipher.h"
#include "tests/factory_api/DeployFolder.h"

using namespace kvtq517test;

namespace {

std::string Field(const std::string& text, bool encode) {
    char field[verck::kFieldSize] = {};
    if (encode) {
        verck::EncodeField(text, field);
    } else {
        text.copy(field, verck::kMaxFieldText);
    }
    return std::string(field, sizeof(field));
}

// The folder's property INI file as the library names it.
std::string IniPath(const DeployFolder& folder) {
    return folder.PropertyDir() + kIniName;
}

}  // namespace

TEST(VersionList, MissingListFailsTheFirstCheckThatReadsIt) {
    struct Case {
        bool withPlugIn;
        const char* result;
    } cases[] = {{true, "[FUNC] RegisterPlugInList - 51"}, {false, "[FUNC] RegisterPlugInList - 53"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.withPlugIn);
        DeployFolder folder("nolist");
        folder.WithStandardIni();
        if (c.withPlugIn) {
            folder.WithPlugIn("kvtfx_full.dll", "Fixture.q517");
        }
        const DriverRun run = folder.Run({});
        EXPECT_TRUE(run.HasLog("[ERR!] - [SYSF] fopen_s"));
        EXPECT_TRUE(run.HasLog(c.result));
    }
}

// A field without its terminating zero is refused, never read past.
TEST(VersionList, AFieldWithoutTerminatingZeroFailsSort) {
    const std::string unterminated(verck::kFieldSize, 'A');
    struct Case {
        std::string bytes;
        const char* result;
    } cases[] = {
        // Before the plug-in's entry: the plug-in check fails.
        {unterminated + Field("x", true) + Field("Fixture.q517", true) + Field("2.0.1.0", true),
         "[FUNC] RegisterPlugInList - 51"},
        // After it: the INI check, reading on to the INI entry, fails.
        {Field("Fixture.q517", true) + Field("2.0.1.0", true) + unterminated +
             Field(kIniName, true) + Field(kIniVersion, false),
         "[FUNC] RegisterPlugInList - 53"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        DeployFolder folder("unterminated");
        folder.WithPlugIn("kvtfx_full.dll", "Fixture.q517").WithStandardIni();
        folder.WithVersionListBytes(c.bytes);
        const DriverRun run = folder.Run({});
        EXPECT_TRUE(run.HasLog("[ERR!] - [ERR!] Sort"));
        EXPECT_TRUE(run.HasLog(c.result));
        // A decoded text is at most a field less its zero: a longer one was read past
        // the field.
        for (const std::string& line : kvttest::SplitLines(run.process.out)) {
            if (line.rfind("sort ->  ", 0) == 0) {
                EXPECT_LT(line.size() - 9, verck::kFieldSize) << line;
            }
        }
    }
}

TEST(VersionList, ADecodedTextOf31CharactersFits) {
    const std::string name = std::string(26, 'P') + ".q517";
    ASSERT_EQ(name.size(), 31u);
    DeployFolder folder("longname");
    folder.WithPlugIn("kvtfx_full.dll", name).WithStandardIni().WithVersionList(
        {PlugInEntry(name, "2.0.1.0"), IniEntry(kIniName, kIniVersion)});
    const DriverRun run = folder.Run({});
    EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 0"));
    EXPECT_NE(run.process.out.find("sort ->  " + name), std::string::npos);
}

// A list that ends before an INI entry ends the INI check cleanly: the INI files left
// are not registered, and an unregistered file passes.
TEST(IniVersionCheck, AListThatEndsEarlyPassesAndNamesTheUnregisteredFile) {
    const std::string plugInEntry = Field("Fixture.q517", true) + Field("2.0.1.0", true);
    for (const std::string& bytes :
         {plugInEntry, plugInEntry + Field(kIniName, true), plugInEntry + "partial"}) {
        SCOPED_TRACE(bytes.size());
        DeployFolder folder("shortlist");
        folder.WithPlugIn("kvtfx_full.dll", "Fixture.q517").WithStandardIni();
        folder.WithVersionListBytes(bytes);
        const DriverRun run = folder.Run({});
        EXPECT_TRUE(run.HasLog("[CMNT] Not Registered - " + IniPath(folder)));
        EXPECT_TRUE(run.HasLog("[FUNC] _CheckIniVersion - 0"));
        EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 0"));
        EXPECT_EQ(run.process.exitCode, 0);
    }
}

TEST(IniVersionCheck, ARegisteredIniFileMustCarryItsVersion) {
    struct Case {
        const char* iniText;
        const char* registered;
        const char* found;   // the version the check reads, or null when it passes
    } cases[] = {
        {"[Version]\r\nFileVersion=1.0.0.0\r\n", "1.0.0.0", nullptr},
        {"[Version]\r\nFileVersion=1.0.0.0\r\n", "1.0.0.1", "1.0.0.0"},
        {"[Other]\r\nKey=1\r\n", "unknown", nullptr},
        {"[Other]\r\nKey=1\r\n", "1.0.0.0", "unknown"},
        // The INI reader keeps at most 9 characters.
        {"[Version]\r\nFileVersion=1.0.0.0-beta\r\n", "1.0.0.0-b", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.iniText) + c.registered);
        DeployFolder folder("inicheck");
        folder.WithPlugIn("kvtfx_full.dll", "Fixture.q517").WithIni(kIniName, c.iniText);
        folder.WithVersionList(
            {PlugInEntry("Fixture.q517", "2.0.1.0"), IniEntry(kIniName, c.registered)});
        const DriverRun run = folder.Run({});
        if (c.found == nullptr) {
            EXPECT_TRUE(run.HasLog("[FUNC] _CheckIniVersion - 0"));
            EXPECT_TRUE(run.HasLog("[FUNC] Initialize - 0"));
            continue;
        }
        const int first = run.LogIndex("[ERR!] ");
        ASSERT_GE(first, 0);
        EXPECT_EQ(run.log[first + 1], "[ERR!] " + IniPath(folder));
        EXPECT_EQ(run.log[first + 2], std::string("[ERR!]   Property -> ") + c.found);
        EXPECT_EQ(run.log[first + 3], std::string("[ERR!]   Regist.  -> ") + c.registered);
        EXPECT_EQ(run.log[first + 4], "[ERR!] - [ERR!] INI Version mismatch.");
        EXPECT_TRUE(run.HasLog("[FUNC] _CheckIniVersion - 1"));
        EXPECT_TRUE(run.HasLog("[ERR!] - [FUNC] _CheckIniVersion"));
        EXPECT_TRUE(run.HasLog("[FUNC] RegisterPlugInList - 53"));
    }
}

// An entry may also name its INI file by the file's full path (where that fits a field:
// a deploy folder at the root of a drive).
TEST(IniVersionCheck, AnEntryNamingTheFullPathIsChecked) {
    for (const char* registered : {"1.0.0.0", "1.0.0.1"}) {
        SCOPED_TRACE(registered);
        DeployFolder folder("v", "C:\\");
        const std::string fullPath = IniPath(folder);
        ASSERT_LT(fullPath.size(), verck::kFieldSize) << fullPath;
        folder.WithPlugIn("kvtfx_full.dll", "Fixture.q517").WithStandardIni();
        folder.WithVersionList(
            {PlugInEntry("Fixture.q517", "2.0.1.0"), IniEntry(fullPath, registered)});
        const DriverRun run = folder.Run({});
        const bool same = std::string(registered) == kIniVersion;
        EXPECT_EQ(run.HasLog("[FUNC] _CheckIniVersion - 0"), same) << run.process.out;
        EXPECT_EQ(run.HasLog("[ERR!] - [ERR!] INI Version mismatch."), !same);
        EXPECT_FALSE(run.LogContains("[CMNT] Not Registered"));
        kvttest::RemoveTree(folder.Path());
    }
}

TEST(IniVersionCheck, NoIniFileFailsWithTheShiftJisMessage) {
    DeployFolder folder("noini");
    folder.WithPlugIn("kvtfx_full.dll", "Fixture.q517")
        .WithVersionList({PlugInEntry("Fixture.q517", "2.0.1.0")});
    const DriverRun run = folder.Run({"open"});
    EXPECT_TRUE(run.HasLog("[ERR!] - [SYSF] FindFirstFile"));
    EXPECT_TRUE(run.HasLog("[FUNC] _CheckIniVersion - 1"));
    EXPECT_EQ(run.Code("open"), 53u);
    const std::string message =
        "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x8e\xe6\x93\xbe\x82\xc5\x82\xab\x82\xdc"
        "\x82\xb9\x82\xf1\x81\x42";
    EXPECT_NE(run.process.err.find(message), std::string::npos) << run.process.err;
}
