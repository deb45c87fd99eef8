// LoadPropertyData and SearchPropertyData through the factory API library, with the
// simulated camera, in fresh deploy-like folders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Win32.h"
#include "tests/pellor/PellorDataFolder.h"

namespace {

using pellortest::DataRun;
using pellortest::PellorFolder;
using pellortest::Scenario;

// The names of the *.bin files in a folder and their total size.
struct BinFiles {
    std::vector<std::string> names;
    unsigned long long bytes = 0;
};

BinFiles ListBinFiles(const std::string& folder) {
    BinFiles files;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "*.bin").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return files;
    }
    do {
        files.names.push_back(found.cFileName);
        files.bytes += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return files;
}

std::string SubFolder(const PellorFolder& folder, const std::string& name) {
    const std::string path = folder.Path() + name + "\\";
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

// The identifiers of the property reads, in order.
std::vector<std::uint32_t> PropertyReads(const DataRun& run) {
    std::vector<std::uint32_t> ids;
    for (const kvttest::SimCall& call : run.Runs("FA_GetProperty")) {
        ids.push_back(call.Param(0));
    }
    return ids;
}

TEST(LoadPropertyData, WritesOneFilePerCataloguedPropertyWithRoundedLengths) {
    PellorFolder folder("load-all", Scenario("[Camera0.Public]\n"
                                             "0x01000003 = 34 12\n"
                                             "0x1F000013 = fill:106908:5a\n"
                                             "0x01010022 = fill:32:c3\n"));
    const std::string out = SubFolder(folder, "Adjust");
    const DataRun run = folder.Run({"folder=" + out, "exec=LoadPropertyData"}, false);
    ASSERT_EQ(run.Code("exec=LoadPropertyData"), 0u) << run.process.out;

    const BinFiles files = ListBinFiles(out);
    EXPECT_EQ(files.names.size(), 239u);
    // The catalogue's sizes, each rounded up to a multiple of 4.
    EXPECT_EQ(files.bytes, 3132188u);
    // A 2-byte property: the camera's 2 bytes and zeros up to 4.
    EXPECT_EQ(kvttest::ReadFileBytes(out + "01000003.bin"), std::string("\x34\x12\0\0", 4));
    EXPECT_EQ(kvttest::ReadFileBytes(out + "1f000013.bin"), std::string(106908, '\x5a'));
    EXPECT_EQ(kvttest::ReadFileBytes(out + "01010022.bin"), std::string(32, '\xc3'));
    EXPECT_EQ(kvttest::ReadFileBytes(out + "1f000009.bin").size(), 16u);
    EXPECT_EQ(kvttest::ReadFileBytes(out + "01040000.bin").size(), 360000u);
    EXPECT_FALSE(kvttest::FileExists(out + "0000dead.bin"));
    EXPECT_TRUE(run.HasLog("[VALU] pszFullPath - " + out));
    EXPECT_TRUE(run.HasLog("[VALU] PropertyName - PROP_AECU_SCREEN2"));
    EXPECT_TRUE(run.HasLog("[VALU] pszFileName - 1f000013.bin"));
    EXPECT_TRUE(run.HasLog("[FUNC] LoadPropertyData - 0"));
}

TEST(LoadPropertyData, ReadsEachPropertyOnceWithItsRoundedSizeInCatalogueOrder) {
    PellorFolder folder("load-reads");
    const std::string out = SubFolder(folder, "Adjust");
    const DataRun run = folder.Run({"folder=" + out, "exec=LoadPropertyData"});
    ASSERT_EQ(run.Code("exec=LoadPropertyData"), 0u);
    std::vector<kvttest::SimCall> reads = run.Runs("FA_GetProperty");
    // Reads of the device open come first; the catalogue's 239 are the last ones.
    ASSERT_GE(reads.size(), 239u);
    reads.erase(reads.begin(), reads.end() - 239);
    EXPECT_EQ(reads.front().Param(0), 0x01000000u);
    EXPECT_EQ(reads[3].Param(0), 0x01000003u);
    EXPECT_EQ(reads[3].Param(1), 4u);
    EXPECT_EQ(reads[108].Param(0), 0x01040000u);
    EXPECT_EQ(reads[108].Param(1), 360000u);
    EXPECT_EQ(reads.back().Param(0), 0x1F000013u);
    EXPECT_EQ(reads.back().Param(1), 106908u);
}

// Where the files land for each kind of FOLDER text.
TEST(LoadPropertyData, FolderTextIsTakenUpToItsLastBackslash) {
    struct Case {
        const char* label;
        std::string text;       // relative to the deploy folder
        std::string landsIn;    // relative to the deploy folder
    };
    const std::vector<Case> cases = {
        {"trailing backslash", "Adjust\\", "Adjust\\"},
        {"last component dropped", "Adjust\\Data", "Adjust\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PellorFolder folder("load-folder");
        SubFolder(folder, "Adjust");
        const DataRun run =
            folder.Run({"folder=" + folder.Path() + c.text, "exec=LoadPropertyData"}, false);
        EXPECT_EQ(run.Code("exec=LoadPropertyData"), 0u);
        EXPECT_EQ(ListBinFiles(folder.Path() + c.landsIn).names.size(), 239u);
    }
}

// FOLDER texts that cannot name a data file are refused before any file is written
// (the last case shows where the length limit lies).
TEST(LoadPropertyData, RefusesFolderTextsThatCannotNameAFile) {
    struct Case {
        const char* label;
        std::string command;       // sets the FOLDER block
        unsigned long code;
        std::string error;
        std::size_t reads;         // catalogue reads before the refusal
    };
    const std::vector<Case> cases = {
        {"no backslash", "folder=Adjust", 1, "[ERR!] - [VALU] pszFileName", 1},
        {"empty", "folder=", 1, "[ERR!] - [VALU] pszFileName", 1},
        // 258 letters, a backslash and a letter: 260 characters leave no room for the zero.
        {"260 characters", "folder-fill=258", 3, "[ERR!] - [VALU] strlen(pszFullPath)", 0},
        // A folder part of 249 characters: with "01000000.bin" the path needs 261.
        {"file name does not fit", "folder-fill=248", 3,
         "[ERR!] - [VALU] strlen(pszFullPath) + strlen(pszFileName)", 1},
        // A folder part of 247 characters: the path of 259 fits, but no such folder exists.
        {"file name just fits", "folder-fill=246", 7, "[ERR!] - [STDF] _sopen_s", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PellorFolder folder("load-refused");
        const DataRun run = folder.Run({c.command, "exec=LoadPropertyData"});
        EXPECT_EQ(run.Code("exec=LoadPropertyData"), c.code);
        EXPECT_TRUE(run.HasLog(c.error));
        EXPECT_TRUE(run.HasLog("[FUNC] LoadPropertyData - " + std::to_string(c.code)));
        std::vector<std::uint32_t> reads = PropertyReads(run);
        std::size_t catalogueReads = 0;
        for (std::uint32_t id : reads) {
            catalogueReads += id == 0x01000000u ? 1 : 0;
        }
        EXPECT_EQ(catalogueReads, c.reads);
        EXPECT_TRUE(ListBinFiles(folder.Path()).names.empty());
    }
}

// A failing camera read stops the loop: earlier files stay, the rest are not read.
TEST(LoadPropertyData, CameraReadFailureKeepsTheEarlierFiles) {
    PellorFolder folder("load-fails", Scenario("[Camera0.Procedures]\nFA_GetProperty.Status#40 = 7\n"));
    const std::string out = SubFolder(folder, "Adjust");
    const DataRun run = folder.Run({"folder=" + out, "exec=LoadPropertyData"});
    EXPECT_EQ(run.Code("exec=LoadPropertyData"), 7u);
    EXPECT_TRUE(run.HasLog("[FUNC] LoadPropertyData - 7"));

    // The failed read is the last one; the catalogue records before it have their files.
    const std::vector<kvttest::SimCall> reads = run.Runs("FA_GetProperty");
    ASSERT_EQ(reads.size(), 40u);
    EXPECT_EQ(reads.back().status, 7u);
    const BinFiles files = ListBinFiles(out);
    std::size_t catalogueIndex = 0;
    for (std::size_t i = 0; i < reads.size(); ++i) {
        if (reads[i].Param(0) == 0x01000000u) {
            catalogueIndex = i;
        }
    }
    const std::size_t written = reads.size() - 1 - catalogueIndex;
    EXPECT_EQ(files.names.size(), written);
    char failedName[16];
    std::snprintf(failedName, sizeof(failedName), "%08x.bin", reads.back().Param(0));
    EXPECT_FALSE(kvttest::FileExists(out + failedName));
    EXPECT_TRUE(kvttest::FileExists(out + "01000000.bin"));
}

// A PROPERTY_DATA_T: the name zero-filled to 64 bytes, then ID and Size.
std::string PropertyRecordHex(const std::string& name) {
    std::string hex;
    char two[3];
    for (std::size_t i = 0; i < 72; ++i) {
        const unsigned char byte = i < name.size() ? static_cast<unsigned char>(name[i]) : 0;
        std::snprintf(two, sizeof(two), "%02x", byte);
        hex += two;
    }
    return hex;
}

// ID and Size of a printed PROPERTY_DATA_T (bytes 64 to 71).
std::string IdAndSize(const std::string& bytes) {
    return bytes.size() >= 72 * 3 - 1 ? bytes.substr(64 * 3) : std::string();
}

TEST(SearchPropertyData, FindsCataloguedNamesAndRefusesOthersWith25) {
    struct Case {
        std::string name;
        unsigned long code;
        std::string idAndSize;   // as printed: ID then Size, little-endian
    };
    const std::vector<Case> cases = {
        {"PROP_BODY_ID", 0, "06 00 00 01 08 00 00 00"},
        {"PROP_TUNING_FLAG", 0, "00 00 00 01 04 00 00 00"},
        {"PROP_AECU_SCREEN2", 0, "13 00 00 1f 9c a1 01 00"},
        {"PROP_LV_V_SHADING3_24", 0, "fa 01 05 01 b0 17 00 00"},
        {"PROP_END_ID", 25, "00 00 00 00 00 00 00 00"},
        {"PROP_body_id", 25, "00 00 00 00 00 00 00 00"},
        {"", 25, "00 00 00 00 00 00 00 00"},
    };
    PellorFolder folder("search");
    std::vector<std::string> commands;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        commands.push_back("buf=" + PropertyRecordHex(cases[i].name));
        commands.push_back("exec=SearchPropertyData#" + std::to_string(i));
    }
    const DataRun run = folder.Run(commands, false);
    const std::vector<std::string> raw = kvttest::ReadLogLines(folder.Path() + "KvtDll.log", false);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        const std::string command = "exec=SearchPropertyData#" + std::to_string(i);
        EXPECT_EQ(run.Code(command), cases[i].code);
        EXPECT_EQ(IdAndSize(run.Bytes(command)), cases[i].idAndSize);
        if (cases[i].code == 25) {
            // The line carries no time stamp.
            EXPECT_GE(kvttest::FindLine(raw, "[CMNT] Not Found - " + cases[i].name), 0);
        }
    }
    EXPECT_TRUE(run.HasLog("[ERR!] - [CMNT] Not Found"));
}

TEST(SearchPropertyData, RefusesANullRecordAndAnUnterminatedName) {
    PellorFolder folder("search-bad");
    const DataRun run = folder.Run({"null=SearchPropertyData", "buf=" + std::string(144, 'a'),
                                    "exec=SearchPropertyData"}, false);
    EXPECT_EQ(run.Code("null=SearchPropertyData"), 3u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] pPropertyData"));
    EXPECT_EQ(run.Code("exec=SearchPropertyData"), 3u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] pPropertyData->szName"));
}

}  // namespace
