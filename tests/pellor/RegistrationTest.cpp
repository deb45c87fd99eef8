// Pellor.q517 loaded by the real factory API library: the names it registers and
// their parameter sizes as the host compares them, second names of one procedure,
// its exports beside the registration, and its load and unload banners.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/pellor/SettingsFolder.h"

namespace pellorsettings {
namespace {

struct Registered {
    const char* name;
    unsigned size;  // 0: not compared by the host
};

// Every name the plug-in offers, in registration order.
const Registered kRegistered[] = {
    {"DebugPrintABoardEepromData", 0}, {"GetABoardEepromData", 0}, {"SetABoardEepromData", 0},
    {"GetDigitalParaAdjData", 8},
    {"DisableAF", 0}, {"DisableAf", 0}, {"EnableAF", 0}, {"EnableAf", 0},
    {"DisableAutoActiveSweep", 0}, {"EnableAutoActiveSweep", 0}, {"SaveAutoActiveSweep", 0},
    {"ExecuteAutoActiveSweep", 0},
    {"DisableAutoLightingOptimizer", 0}, {"EnableAutoLightingOptimizer", 0},
    {"SaveAutoLightingOptimizer", 0},
    {"GetAutoPowerOffTime", 0}, {"SetAutoPowerOffTime", 0}, {"DisableAutoPowerOff", 0},
    {"EnableAutoPowerOff", 0}, {"SaveAutoPowerOff", 0},
    {"CheckBatteryStatus", 0},
    {"SetBodyID", 20}, {"GetBodyID", 20}, {"SaveBodyID", 0},
    {"DisableBootDisk", 0}, {"EnableBootDisk", 0}, {"GetCameraLog", 0},
    {"SetDefaultSettings", 0}, {"ProhibitFROMAccess", 0}, {"SetAEIgnore", 0}, {"MPUReset", 0},
    {"CopyWindowsVistaUniqueID", 0}, {"SaveWindowsVistaUniqueID", 0},
    {"GetWindowsVistaUniqueID", 0},
    {"SetSensorNumber", 16}, {"GetSensorNumber", 16}, {"SaveSensorNumber", 0},
    {"ClearCopyRightInfo", 0}, {"SaveCopyRightInfo", 0},
    {"GetDateTime", 0}, {"SetDateTime", 0}, {"ResetDateTime", 0}, {"SetDateDisplayFormat", 0},
    {"GetDateDisplayFormat", 0}, {"SaveDateDisplayFormat", 0}, {"SetTimeZone", 0},
    {"GetTimeZone", 0}, {"SaveTimeZone", 0}, {"SetSummertimeSetting", 0},
    {"SaveSummertimeSetting", 0},
    {"TurnOffDisplay", 0}, {"TurnOnDisplay", 0}, {"OutputColorBarChart", 0},
    {"CopyDLResonantFrequency", 0}, {"SetDLResonantFrequency", 0},
    {"GetDLResonantFrequency", 0}, {"SaveDLResonantFrequency", 0},
    {"GetBoardInfDLResonantFrequency", 0}, {"SetBoardInfDLResonantFrequency", 0},
    {"ResetFileNumber", 0}, {"SaveFileNumber", 0},
    {"GetIcuFirmwareVersion", 0}, {"GetMpuFirmwareVersion", 0}, {"GetIcuCheckSum", 0},
    {"GetIcuMasterVersion", 0}, {"GetIcuSlaveVersion", 0}, {"GetFpuVersion", 0},
    {"GetTpuVersion", 0}, {"GetBpVersion", 0}, {"GetEepromVersion", 0},
    {"SetFilePrefix", 0}, {"GetFilePrefix", 0}, {"SaveFilePrefix", 0},
    {"SetDefaultFilePrefix", 0},
    {"DisableGuidance", 0}, {"EnableGuidance", 0}, {"SaveGuidance", 0},
    {"SetHighIsoSpeedNoiseReduction", 0}, {"GetHighIsoSpeedNoiseReduction", 0},
    {"DisableHighlightTonePriority", 0}, {"EnableHighlightTonePriority", 0},
    {"SetLanguage", 0}, {"GetLanguage", 0}, {"SaveLanguage", 0}, {"SetLimitLanguage", 0},
    {"GetLimitLanguage", 0}, {"SaveLimitLanguage", 0},
    {"CheckLensActivity", 0}, {"SetLongExposureNoiseReduction", 0},
    {"GetLongExposureNoiseReduction", 0},
    {"ClearMachineCellResult", 0}, {"EnterMachineCellSpecialMenu", 0},
    {"ExitMachineCellSpecialMenu", 0}, {"IncreaseMachineCellDialClickGap", 0},
    {"DecreaseMachineCellDialClickGap", 0}, {"EnterMachineCellAccTest", 0},
    {"ExecuteMachineCellAccTest", 0}, {"ExecuteMachineCellExternalStrobeTest", 0},
    {"SendMachineCellSetButton", 0},
    {"OverwriteMachineCellDispDialResult", 4}, {"GetMachineCellDispDialResult", 4},
    {"GetMachineCellAccTestResult", 4}, {"GetMachineCellSDialTestResult", 4},
    {"GetMachineCellDispDialResultTable", 128}, {"GetMachineCellAccTestResultTable", 96},
    {"SetSoundVolume", 4},
    {"SetOwnerName", 0}, {"GetOwnerName", 0}, {"ClearOwnerName", 0}, {"SaveOwnerName", 0},
    {"SearchPropertyData", 0}, {"LoadPropertyData", 0},
    {"GetSensorPixelPitch", 0}, {"GetSensorOpticalLength", 0}, {"SetSlitRollingMode", 0},
    {"ClearSlitRollingMode", 0}, {"CheckStorageMediaExistence", 0},
    {"SaveTuneData", 0}, {"SaveTuneData2", 0}, {"SaveAETuneData", 0},
    {"ResetTimeCode", 0}, {"SaveTimeCode", 0},
    {"DisableTouchSensor", 0}, {"EnableTouchSensor", 0}, {"SaveTouchSensor", 0},
    {"EnterFactoryMode", 0}, {"ExitFactoryMode", 0}, {"GetFactoryModeState", 0},
    {"SetVideoSystem", 0}, {"GetVideoSystem", 0}, {"SaveVideoSystem", 0},
};

std::string Call(const std::string& name, unsigned size) {
    return "execs:" + name + ":1024:" + std::to_string(size) + ":zero";
}

const std::string kRule = "[CMNT] " + std::string(79, '*');

// The index of the only line equal to `line`, or -1 (also when it occurs twice).
int OnlyLine(const std::vector<std::string>& log, const std::string& line) {
    const int first = kvttest::FindLine(log, line);
    return first >= 0 && kvttest::FindLine(log, line, first + 1) < 0 ? first : -1;
}

int CountLines(const std::vector<std::string>& log, const std::string& line) {
    int n = 0;
    for (const std::string& l : log) {
        n += l == line ? 1 : 0;
    }
    return n;
}

class PellorRegistration : public ::testing::Test {
protected:
    void TearDown() override {
        if (!HasFailure() && _folder != nullptr) {
            kvttest::RemoveTree(_folder->Path());
        }
    }
    SettingsRun Run(const char* prefix, const std::vector<std::string>& commands) {
        _folder.reset(new SettingsFolder(prefix));
        SettingsRun run = _folder->Run(commands);
        EXPECT_TRUE(run.process.started);
        EXPECT_FALSE(run.process.timedOut);
        EXPECT_FALSE(run.steps.empty()) << run.process.out;
        if (!run.steps.empty()) {
            EXPECT_EQ(run.steps[0].code, 0u) << "open failed:\n" << run.process.out;
        }
        return run;
    }
    std::unique_ptr<SettingsFolder> _folder;
};

// Each name is found by the host's size-comparing execute and reaches a procedure (its
// entry line is logged); a name with a declared size refuses any other size before
// its procedure runs, a name without one takes any size.
TEST_F(PellorRegistration, EveryNameIsRegisteredWithItsParameterSize) {
    ASSERT_EQ(sizeof(kRegistered) / sizeof(kRegistered[0]), 131u);
    std::vector<std::string> commands;
    for (const Registered& r : kRegistered) {
        commands.push_back(Call(r.name, r.size != 0 ? r.size : 7));
        if (r.size != 0) {
            commands.push_back(Call(r.name, r.size + 1));
        }
    }
    const SettingsRun run = Run("registration", commands);
    std::size_t at = 1;
    for (const Registered& r : kRegistered) {
        SCOPED_TRACE(r.name);
        const Step* step = run.Find(Call(r.name, r.size != 0 ? r.size : 7), at);
        ASSERT_NE(step, nullptr) << "the run ended early:\n" << run.process.err;
        at = static_cast<std::size_t>(step - run.steps.data()) + 1;
        EXPECT_FALSE(step->HasLog(std::string("[CMNT] Not Found - ") + r.name)) << "not registered";
        EXPECT_FALSE(step->LogContains("[VALU] ParameterSize"));
        EXPECT_TRUE(step->LogContains("[FUNC] ")) << "no procedure ran";
        if (r.size != 0) {
            const Step* wrong = run.Find(Call(r.name, r.size + 1), at);
            ASSERT_NE(wrong, nullptr);
            EXPECT_EQ(wrong->code, 3u);
            EXPECT_TRUE(wrong->HasLog("[ERR!] - [VALU] ParameterSize"));
            EXPECT_EQ(wrong->trace, "") << "the procedure ran";
        }
    }
    // The registration succeeded: the host's frame and the plug-in's, both with 0.
    EXPECT_EQ(CountLines(run.log, "[FUNC] RegisterEventProcList"), 2);
    EXPECT_EQ(CountLines(run.log, "[FUNC] RegisterEventProcList - 0"), 2);
}

// A second name reaches the first name's procedure: the same log name, the same
// camera traffic.
TEST_F(PellorRegistration, SecondNamesReachTheSameProcedure) {
    struct Alias {
        const char* first;
        const char* second;
        unsigned size;  // the size the second name is called with
    };
    const Alias aliases[] = {
        {"DisableAF", "DisableAf", 84},
        {"EnableAF", "EnableAf", 84},
        {"EnterMachineCellAccTest", "ExecuteMachineCellAccTest", 16},
        {"GetMachineCellDispDialResult", "GetMachineCellDispDialResultTable", 128},
        {"GetMachineCellAccTestResult", "GetMachineCellAccTestResultTable", 96},
    };
    std::vector<std::string> commands;
    for (const Alias& a : aliases) {
        commands.push_back("exec:" + std::string(a.first) + ":16");
        commands.push_back("exec:" + std::string(a.second) + ":" + std::to_string(a.size));
    }
    const SettingsRun run = Run("aliases", commands);
    for (const Alias& a : aliases) {
        SCOPED_TRACE(a.second);
        const Step* first = run.Find("exec:" + std::string(a.first) + ":16");
        const Step* second = run.Find("exec:" + std::string(a.second) + ":" + std::to_string(a.size));
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->code, first->code);
        EXPECT_FALSE(first->trace.empty());
        EXPECT_EQ(second->trace, first->trace);
        EXPECT_TRUE(second->HasLog(std::string("[FUNC] ") + a.first));
        EXPECT_FALSE(second->HasLog(std::string("[FUNC] ") + a.second));
    }
}

// The table names are registered with their table's size although the procedure
// writes one 32-bit value: a 4-byte call fails in the host for the table name and
// succeeds for the getter's own name.
TEST_F(PellorRegistration, TableNameRefusesTheGettersSize) {
    const SettingsRun run =
        Run("table-size", {SimCommand("[Camera0]\nDispDialResult = 77\n"),
                           "execs:GetMachineCellDispDialResultTable:4:4",
                           "execs:GetMachineCellDispDialResult:4:4"});
    const Step* table = run.Find("execs:GetMachineCellDispDialResultTable:4:4");
    const Step* getter = run.Find("execs:GetMachineCellDispDialResult:4:4");
    ASSERT_NE(table, nullptr);
    ASSERT_NE(getter, nullptr);
    EXPECT_EQ(table->code, 3u);
    EXPECT_TRUE(table->HasLog("[ERR!] - [VALU] ParameterSize"));
    EXPECT_EQ(table->trace, "");
    EXPECT_EQ(table->bytes, "cccccccc");
    EXPECT_EQ(getter->code, 0u);
    EXPECT_EQ(getter->trace, "FA_Get_DispDial_Result(4)");
    EXPECT_EQ(getter->bytes, "4d000000");
}

// GetEventProcList copies the plug-in's own (empty) table: the caller's stays empty,
// inside the frames of the export and of its copy routine. A null table receives
// nothing and is not an error while there is nothing to copy.
// The initialize-list function is there only under its decorated name.
TEST_F(PellorRegistration, ExportsBesideTheRegistration) {
    const SettingsRun run = Run("exports", {"getlist", "getlist-null", "initlist"});
    const Step* list = run.Find("getlist");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->code, 0u);
    EXPECT_EQ(list->bytes, "empty");
    EXPECT_EQ(list->log, (std::vector<std::string>{
                             "[----]", "[FUNC] GetEventProcList", "[----]", "[FUNC] GetHash",
                             "[FUNC] GetHash - 0", "[FUNC] GetEventProcList - 0"}));

    const Step* null = run.Find("getlist-null");
    ASSERT_NE(null, nullptr);
    EXPECT_EQ(null->code, 0u);
    EXPECT_EQ(null->log, list->log);

    const Step* init = run.Find("initlist");
    ASSERT_NE(init, nullptr);
    EXPECT_EQ(init->bytes, "decorated");
    EXPECT_EQ(init->code, 0u);
}

// Load and unload each write the rule, the title and the rule again, once.
TEST_F(PellorRegistration, LoadAndUnloadBanners) {
    const SettingsRun run = Run("banners", {});
    for (const char* title : {"[CMNT]  Pellor.q517 Initialize", "[CMNT]  Pellor.q517 Terminate"}) {
        SCOPED_TRACE(title);
        const int at = OnlyLine(run.log, title);
        ASSERT_GT(at, 0);
        ASSERT_LT(at + 1, static_cast<int>(run.log.size()));
        EXPECT_EQ(run.log[at - 1], kRule);
        EXPECT_EQ(run.log[at + 1], kRule);
    }
    // Loaded before it registers, unloaded after.
    EXPECT_LT(kvttest::FindLine(run.log, "[CMNT]  Pellor.q517 Initialize"),
              kvttest::FindLine(run.log, "[FUNC] RegisterEventProcList"));
    EXPECT_LT(kvttest::FindLine(run.log, "[FUNC] RegisterEventProcList - 0"),
              kvttest::FindLine(run.log, "[CMNT]  Pellor.q517 Terminate"));
}

}  // namespace
}  // namespace pellorsettings
