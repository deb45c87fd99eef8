// KVT_LoadProperty and KVT_SaveProperty in a deploy-like folder: names resolved by
// Pellor's "SearchPropertyData", bytes moved between the simulated camera and files.
#include <gtest/gtest.h>

#include <cstdlib>

#include "propfiles/PropFilesFolder.h"

namespace {

using propfilestest::Folder;
using propfilestest::Outcome;
using propfilestest::Scenario;

constexpr std::uint32_t kPropFilePrefix = 0x01000007;   // PROP_FILE_PREFIX, 8 bytes

// Bytes a text-mode file would change (CR LF, ^Z) and high bytes.
const std::string kCameraBytes("\x00\xff\x0d\x0a\x1a\x80\x7f\x10", 8);
const std::string kFileBytes("\x01\x00\x0a\x0d\xfe\x1a\x00\x99", 8);

std::string PrefixScenario() {
    return Scenario("[Camera0.Public]\n0x01000007 = 00 ff 0d 0a 1a 80 7f 10\n"
                    "0x01000000 = u16:7\n");
}

unsigned long Milliseconds(const Outcome& run, const std::string& command) {
    const std::string text = run.Text(command);
    return text.rfind("ms=", 0) == 0 ? std::strtoul(text.c_str() + 3, nullptr, 10) : 0;
}

TEST(PropertyFile, LoadAndSaveMoveThePropertyBytesExactly) {
    const Folder folder("prop-roundtrip", PrefixScenario());
    kvttest::WriteFileBytes(folder.Path() + "new.bin", kFileBytes);
    const Outcome run = folder.Execute({"open", "load|PROP_FILE_PREFIX|before.bin",
                                    "save|PROP_FILE_PREFIX|new.bin",
                                    "load|PROP_FILE_PREFIX|after.bin"});
    ASSERT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("load|PROP_FILE_PREFIX|before.bin"), 0u);
    EXPECT_EQ(run.Code("save|PROP_FILE_PREFIX|new.bin"), 0u);
    EXPECT_EQ(run.Code("load|PROP_FILE_PREFIX|after.bin"), 0u);
    EXPECT_EQ(kvttest::ReadFileBytes(folder.Path() + "before.bin"), kCameraBytes);
    EXPECT_EQ(kvttest::ReadFileBytes(folder.Path() + "after.bin"), kFileBytes);

    // The camera got the file's bytes, then the order to store them, after the pause.
    std::vector<std::string> steps;
    for (const kvttest::SimCall& call : kvttest::SimExecutes(run.journal)) {
        if ((call.procedure == "FA_SetProperty" || call.procedure == "FA_SaveProperty") &&
            call.Param(0) == kPropFilePrefix) {
            steps.push_back(call.procedure);
            if (call.procedure == "FA_SetProperty") {
                ASSERT_EQ(call.params.size(), 3u);
                EXPECT_EQ(call.Param(1), 8u);
                EXPECT_EQ(call.params[2].bytes, kFileBytes);
            }
        }
    }
    EXPECT_EQ(steps, (std::vector<std::string>{"FA_SetProperty", "FA_SaveProperty"}));
    EXPECT_GE(Milliseconds(run, "save|PROP_FILE_PREFIX|new.bin"), 95u);

    // Load writes no entry line, only its exit line.
    EXPECT_EQ(run.LogIndex("[FUNC] KVT_LoadProperty"), -1);
    const int name = run.LogIndex("[VALU] pszPropertyName - PROP_FILE_PREFIX");
    ASSERT_GE(name, 0);
    EXPECT_EQ(run.log[name + 1], "[VALU] pszFullPath     - before.bin");
    EXPECT_EQ(run.log[name + 2], "[VALU] PropertyData.szName - PROP_FILE_PREFIX");
    const int id = run.LogIndex("[VALU] PropertyData.ID     - 16777223", name);
    ASSERT_GT(id, name);
    EXPECT_EQ(run.log[id + 1], "[VALU] PropertyData.Size   - 8");
    EXPECT_EQ(run.log[id + 2], "[FUNC] KVT_LoadProperty - 0");

    const int save = run.LogIndex("[FUNC] KVT_SaveProperty");
    ASSERT_GE(save, 1);
    EXPECT_EQ(run.log[save - 1], "[----]");
    EXPECT_EQ(run.log[save + 1], "[VALU] PropertyData.szName - PROP_FILE_PREFIX");
    EXPECT_GT(run.LogIndex("[FUNC] KVT_SaveProperty - 0", save), save);
}

struct FailureCase {
    const char* command;
    unsigned long code;
    const char* line;   // the failure line of the frame
};

TEST(PropertyFile, FailuresReturnTheirCodesAndLeaveNoFileBehind) {
    const Folder folder("prop-failures", PrefixScenario());
    kvttest::WriteFileBytes(folder.Path() + "long.bin", kFileBytes + "!");
    const FailureCase cases[] = {
        {"load|PROP_FILE_PREFIX|closed.bin", 29, "[ERR!] - [ERR!] OpenDevice Error."},
        {"save|PROP_FILE_PREFIX|long.bin", 29, "[ERR!] - [ERR!] OpenDevice Error."},
        {"open", 0, nullptr},
        {"save|PROP_FILE_PREFIX|long.bin|open", 35, "[ERR!] - [VALU] DataSize"},
        {"load|PROP_FILE_PREFIX|missing\\x.bin", 1, "[ERR!] - [STDF] _write"},
        {"load|PROP_UNKNOWN|unknown.bin", 25, "[ERR!] - [FUNC] SearchPropertyData"},
        {"save|PROP_UNKNOWN|long.bin", 1, "[ERR!] - [EVNT] SearchPropertyData"},
        {"save|PROP_FILE_PREFIX|absent.bin", 1, "[ERR!] - [SYSF] _sopen_s"},
        {"load|PROP_TUNING_FLAG|short.bin", 35, "[ERR!] - [VALU] DataSize"},
        {"load|(null)|null.bin", 3, "[ERR!] - [VALU] pszPropertyName"},
        {"load|PROP_FILE_PREFIX|(null)", 3, "[ERR!] - [VALU] pszFullPath"},
        {"save|(null)|long.bin", 3, "[ERR!] - [VALU] pszPropertyName"},
        {"save|PROP_FILE_PREFIX|(null)", 3, "[ERR!] - [VALU] pszFullPath"},
    };
    std::vector<std::string> commands;
    for (const FailureCase& c : cases) {
        commands.push_back(c.command);
    }
    const Outcome run = folder.Execute(commands);
    for (const FailureCase& c : cases) {
        EXPECT_EQ(run.Code(c.command), c.code) << c.command << "\n" << run.process.out;
        if (c.line != nullptr) {
            EXPECT_TRUE(run.HasLog(c.line)) << c.command;
        }
    }
    EXPECT_TRUE(run.HasLog("[VALU] DataSize - 9"));    // the file's length
    EXPECT_TRUE(run.HasLog("[VALU] DataSize - 2"));    // the camera's short reply
    EXPECT_TRUE(run.HasLog("[CMNT] Not Found - PROP_UNKNOWN"));
    for (const char* file : {"closed.bin", "missing", "unknown.bin", "short.bin", "null.bin"}) {
        EXPECT_FALSE(kvttest::FileExists(folder.Path() + file)) << file;
    }
    EXPECT_EQ(kvttest::ReadFileBytes(folder.Path() + "long.bin"), kFileBytes + "!");
    EXPECT_TRUE(run.Executes("FA_SetProperty").empty());
    EXPECT_TRUE(run.Executes("FA_SaveProperty").empty());
}

// Names that do not fit szName and paths longer than 260 characters are refused before
// the plug-in is asked or the camera is touched; 63 characters still go to the plug-in.
TEST(PropertyFile, OverlongNamesAndPathsAreRefusedBeforeAnythingIsSent) {
    const Folder folder("prop-overlong", PrefixScenario());
    const Outcome run = folder.Execute({"open", "load|(chars:64)|x.bin", "save|(chars:64)|x.bin",
                                    "load|PROP_FILE_PREFIX|(chars:261)",
                                    "save|PROP_FILE_PREFIX|(chars:261)", "load|(chars:63)|x.bin"});
    ASSERT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("load|(chars:64)|x.bin"), 3u);
    EXPECT_EQ(run.Code("save|(chars:64)|x.bin"), 3u);
    EXPECT_EQ(run.Code("load|PROP_FILE_PREFIX|(chars:261)"), 3u);
    EXPECT_EQ(run.Code("save|PROP_FILE_PREFIX|(chars:261)"), 3u);
    EXPECT_EQ(run.Code("load|(chars:63)|x.bin"), 25u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] strlen(pszPropertyName)"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] strlen(pszFullPath)"));
    int searches = 0;
    for (const std::string& line : run.log) {
        searches += line.rfind("[KVTI] KVT_ExecuteEventProc : SearchPropertyData", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(searches, 1);
    for (const kvttest::SimCall& call : run.Executes("FA_GetProperty")) {
        EXPECT_NE(call.Param(0), kPropFilePrefix);
    }
    EXPECT_TRUE(run.Executes("FA_SetProperty").empty());
    EXPECT_FALSE(kvttest::FileExists(folder.Path() + "x.bin"));
}

}  // namespace
