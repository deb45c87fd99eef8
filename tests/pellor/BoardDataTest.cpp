// A-board EEPROM, "BoardInf.ini", the DL resonant frequency and the digital adjustment
// offsets through the factory API library, with the simulated camera.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pellor/PellorDataFolder.h"

namespace {

using pellortest::BoardInfText;
using pellortest::DataRun;
using pellortest::PellorFolder;
using pellortest::Scenario;

std::string U32Hex(std::uint32_t v) {
    char word[9];
    std::snprintf(word, sizeof(word), "%02x%02x%02x%02x", v & 0xFF, (v >> 8) & 0xFF,
                  (v >> 16) & 0xFF, v >> 24);
    return word;
}

// An ABOARD_EEPROM_DATA_T with the given words at their addresses.
std::string EepromRecordHex(std::uint32_t address, std::uint32_t count,
                            const std::vector<std::uint32_t>& words = {}) {
    std::string hex;
    for (std::uint32_t i = 0; i < 128; ++i) {
        const bool given = i >= address && i - address < words.size();
        hex += U32Hex(given ? words[i - address] : 0);
    }
    return hex + U32Hex(address) + U32Hex(count);
}

// A camera whose EEPROM refuses access while power save is on.
std::string EepromScenario() {
    return Scenario("EepromNeedsPowerSaveOff = 1\nPowerSave = 1\n"
                    "[Camera0.Eeprom]\n10 = 0x1010\n11 = 0x1111\n96 = 0x1234\n97 = 0x5678\n"
                    "127 = 0xBEEF\n");
}

// Word `address` of a printed ABOARD_EEPROM_DATA_T.
std::string WordAt(const std::string& bytes, std::uint32_t address) {
    return bytes.size() >= (address + 1) * 12 - 1 ? bytes.substr(address * 12, 11) : std::string();
}

TEST(ABoardEeprom, GetReadsTheRequestedWordsIntoTheirAddresses) {
    PellorFolder folder("eeprom-get", EepromScenario());
    const DataRun run = folder.Run({"buf=" + EepromRecordHex(127, 1), "exec=GetABoardEepromData#1",
                                    "buf=" + EepromRecordHex(10, 2), "exec=GetABoardEepromData#2"});
    ASSERT_EQ(run.Code("exec=GetABoardEepromData#1"), 0u);
    EXPECT_EQ(WordAt(run.Bytes("exec=GetABoardEepromData#1"), 127), "ef be 00 00");
    EXPECT_EQ(WordAt(run.Bytes("exec=GetABoardEepromData#2"), 10), "10 10 00 00");
    EXPECT_EQ(WordAt(run.Bytes("exec=GetABoardEepromData#2"), 11), "11 11 00 00");
    EXPECT_EQ(WordAt(run.Bytes("exec=GetABoardEepromData#2"), 0), "00 00 00 00");
    EXPECT_TRUE(run.HasLog("[----] pData->Address : 127"));
    EXPECT_TRUE(run.HasLog("[VALU] Data - 48879( 0xbeef )"));
    const std::string trace = run.Trace();
    EXPECT_NE(trace.find("DisablePowerSave(0) FA_ReadEepromData(127) EnablePowerSave(0) "
                         "DisablePowerSave(0) FA_ReadEepromData(10) FA_ReadEepromData(11) "
                         "EnablePowerSave(0)"),
              std::string::npos) << trace;
}

// Refused ranges: power save is turned off and on again around the refusal.
TEST(ABoardEeprom, RangesOutsideTheEepromAreRefusedWithPowerSaveRestored) {
    struct Case {
        std::uint32_t address;
        std::uint32_t count;
        std::string error;
    };
    const std::vector<Case> cases = {
        {127, 2, "[ERR!] - [VALU] pData->Address + pData->Count"},
        {0, 0, "[ERR!] - [VALU] pData->Count"},
        {0, 129, "[ERR!] - [VALU] pData->Count"},
        {128, 1, "[ERR!] - [VALU] pData->Address"},
    };
    for (const char* procedure : {"GetABoardEepromData", "SetABoardEepromData"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(procedure) + " " + std::to_string(c.address) + " " +
                         std::to_string(c.count));
            PellorFolder folder("eeprom-range", EepromScenario());
            const std::string command = std::string("exec=") + procedure;
            const DataRun run = folder.Run({"buf=" + EepromRecordHex(c.address, c.count), command});
            EXPECT_EQ(run.Code(command), 3u)
                << "exit " << run.process.exitCode << (run.process.timedOut ? " (timed out)" : "")
                << "\n" << run.process.out << run.process.err;
            EXPECT_TRUE(run.HasLog(c.error));
            EXPECT_NE(run.Trace().find("DisablePowerSave(0) EnablePowerSave(0)"), std::string::npos);
            EXPECT_TRUE(run.Runs("FA_ReadEepromData").empty());
            EXPECT_TRUE(run.Runs("FA_WriteEepromData").empty());
        }
    }
}

TEST(ABoardEeprom, SetWritesTheWordsOfTheirAddresses) {
    PellorFolder folder("eeprom-set", EepromScenario());
    const DataRun run = folder.Run({"buf=" + EepromRecordHex(10, 3, {0x2222, 0x3333, 0x4444}),
                                    "exec=SetABoardEepromData", "exec=DebugPrintABoardEepromData"});
    ASSERT_EQ(run.Code("exec=SetABoardEepromData"), 0u);
    EXPECT_NE(run.Trace().find("FA_WriteEepromData(10,8738) FA_WriteEepromData(11,13107) "
                               "FA_WriteEepromData(12,17476) EnablePowerSave(0)"),
              std::string::npos) << run.Trace();
    EXPECT_TRUE(run.HasLog("[VALU] ulData - 8738( 0x2222 )"));
    // The dump of all 128 words shows them.
    EXPECT_EQ(run.Code("exec=DebugPrintABoardEepromData"), 0u);
    EXPECT_TRUE(run.HasLog("[VALU] Data( 0x0c ) - 0x4444"));
    EXPECT_TRUE(run.HasLog("[VALU] Data( 0x7f ) - 0xbeef"));
    EXPECT_EQ(run.Runs("FA_ReadEepromData").size(), 128u);
}

TEST(BoardInf, MissingKeysFailWithTheFiveLinesBeforeAnyCameraRead) {
    struct Case {
        const char* label;
        std::string text;   // "" = no file at all
        std::string key;
    };
    const std::vector<Case> cases = {
        {"no Size", BoardInfText("Address=96\r\n"), "Size"},
        {"Address -1", BoardInfText("Address=-1\r\nSize=4\r\n"), "Address"},
        {"no file", "", "Address"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PellorFolder folder("boardinf-missing", EepromScenario(), c.text);
        const DataRun run = folder.Run({"zero=4", "exec=GetBoardInfDLResonantFrequency"});
        EXPECT_EQ(run.Code("exec=GetBoardInfDLResonantFrequency"), 1u);
        const int first = run.LogIndex("[VALU] lpszFileName - " + folder.PropertyDir() + "BoardInf.ini");
        ASSERT_GE(first, 0);
        EXPECT_EQ(run.LogIndex("[VALU] lpAppName    - DLResonantFrequency", first), first + 1);
        EXPECT_EQ(run.LogIndex("[VALU] lpKeyName    - " + c.key, first), first + 2);
        EXPECT_EQ(run.LogIndex("[VALU] *pnReturn    - -1", first), first + 3);
        EXPECT_EQ(run.LogIndex("[VALU] nDefault     - -1", first), first + 4);
        EXPECT_EQ(run.LogIndex("[ERR!] - [WAPI] GetPrivateProfileInt", first), first + 5);
        EXPECT_TRUE(run.Runs("FA_ReadEepromData").empty());
    }
}

// The range must lie within the 128 words and hold at most 256 bytes.
TEST(BoardInf, RangesOutsideTheEepromAreRefused) {
    struct Case {
        std::string keys;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"Address=128\r\nSize=4\r\n", "[ERR!] - [VALU] Address"},
        {"Address=0\r\nSize=258\r\n", "[ERR!] - [VALU] Size"},
        {"Address=0\r\nSize=-2\r\n", "[ERR!] - [VALU] Size"},
        {"Address=127\r\nSize=4\r\n", "[ERR!] - [VALU] Address + Count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        PellorFolder folder("boardinf-range", Scenario(), BoardInfText(c.keys));
        const DataRun run = folder.Run({"zero=8", "exec=GetBoardInfDLResonantFrequency",
                                        "exec=SetBoardInfDLResonantFrequency"});
        EXPECT_EQ(run.Code("exec=GetBoardInfDLResonantFrequency"), 3u);
        EXPECT_EQ(run.Code("exec=SetBoardInfDLResonantFrequency"), 3u);
        EXPECT_TRUE(run.HasLog(c.error));
        EXPECT_TRUE(run.Runs("FA_ReadEepromData").empty());
        EXPECT_TRUE(run.Runs("FA_WriteEepromData").empty());
    }
}

TEST(BoardInf, GetReturnsTheFirstTwoWordsLowHalfFirst) {
    struct Case {
        std::string keys;
        std::string value;   // the caller's u32
        std::size_t reads;
    };
    const std::vector<Case> cases = {
        {"Address=96\r\nSize=4\r\n", "34 12 78 56", 2},
        {"Address=96\r\nSize=8\r\n", "34 12 78 56", 4},
        // Fewer than two words: the missing half is 0.
        {"Address=96\r\nSize=2\r\n", "34 12 00 00", 1},
        {"Address=96\r\nSize=0\r\n", "00 00 00 00", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        PellorFolder folder("boardinf-get", Scenario("[Camera0.Eeprom]\n96 = 0x1234\n97 = 0x5678\n"),
                            BoardInfText(c.keys));
        const DataRun run = folder.Run({"buf=ffffffff", "exec=GetBoardInfDLResonantFrequency"});
        EXPECT_EQ(run.Code("exec=GetBoardInfDLResonantFrequency"), 0u);
        EXPECT_EQ(run.Bytes("exec=GetBoardInfDLResonantFrequency"), c.value);
        EXPECT_EQ(run.Runs("FA_ReadEepromData").size(), c.reads);
    }
}

TEST(BoardInf, SetWritesEachPairHighByteFirst) {
    PellorFolder folder("boardinf-set", Scenario());
    const DataRun run = folder.Run({"buf=12345678", "exec=SetBoardInfDLResonantFrequency"});
    EXPECT_EQ(run.Code("exec=SetBoardInfDLResonantFrequency"), 0u);
    EXPECT_NE(run.Trace().find("FA_WriteEepromData(96,4660) FA_WriteEepromData(97,22136)"),
              std::string::npos) << run.Trace();
    EXPECT_TRUE(run.HasLog("[VALU] Data[ 00000000 ] -  12 34 56 78 "));
    EXPECT_TRUE(run.HasLog("[VALU] Count   - 2"));
}

TEST(BoardInf, SetStopsAtACameraRefusal) {
    PellorFolder folder("boardinf-refused",
                        Scenario("[Camera0.Procedures]\nFA_WriteEepromData#2 = 3\n"),
                        BoardInfText("Address=96\r\nSize=6\r\n"));
    const DataRun run = folder.Run({"buf=111122223333", "exec=SetBoardInfDLResonantFrequency"});
    EXPECT_EQ(run.Code("exec=SetBoardInfDLResonantFrequency"), 3u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [EVNT] FA_WriteEepromData"));
    EXPECT_EQ(run.Runs("FA_WriteEepromData").size(), 2u);
}

TEST(DLResonantFrequency, SetWritesThePropertyAndTheLow16BitsHighByteFirst) {
    PellorFolder folder("dl-set");
    const DataRun run = folder.Run({"buf=34120000", "exec=SetDLResonantFrequency"});
    ASSERT_EQ(run.Code("exec=SetDLResonantFrequency"), 0u);
    const std::string trace = run.Trace();
    EXPECT_NE(trace.find("FA_SetProperty(0x0100000e,4,[34120000]) MonOpen(0) "
                         "MonWrite(2,7976,2,[1234]) MonClose(0)"),
              std::string::npos) << trace;
    const int first = run.LogIndex("[VALU] byData - 12");
    EXPECT_GE(first, 0);
    EXPECT_EQ(run.LogIndex("[VALU] byData - 34", first), first + 1);
}

TEST(DLResonantFrequency, SetClosesTheMonitorSessionWhenTheWriteFails) {
    PellorFolder folder("dl-set-fails", Scenario("[Camera0.Procedures]\nMonWrite = 5\n"));
    const DataRun run = folder.Run({"buf=34120000", "exec=SetDLResonantFrequency"});
    EXPECT_EQ(run.Code("exec=SetDLResonantFrequency"), 5u);
    EXPECT_NE(run.Trace().find("MonWrite(2,7976,2,[1234]) MonClose(0)"), std::string::npos);
}

// The value goes into the first word; the rest of the caller's buffer stays untouched.
TEST(DLResonantFrequency, GetStoresTheValueInTheFirstWordOnly) {
    PellorFolder folder("dl-get", Scenario("[Camera0.Public]\n0x0100000E = u32:41250\n"));
    const DataRun run = folder.Run({"buf=ffffffffffffffff", "exec=GetDLResonantFrequency",
                                    "exec=SaveDLResonantFrequency"});
    ASSERT_EQ(run.Code("exec=GetDLResonantFrequency"), 0u);
    EXPECT_EQ(run.Bytes("exec=GetDLResonantFrequency"), "22 a1 00 00 ff ff ff ff");
    EXPECT_TRUE(run.HasLog("[VALU] unFrequencyD - 41250"));
    EXPECT_EQ(run.Code("exec=SaveDLResonantFrequency"), 0u);
    EXPECT_EQ(run.Runs("FA_SaveProperty").back().Param(0), 0x0100000Eu);
}

TEST(DLResonantFrequency, CopyTakesTheBoardValueIntoPropertyAndMemory) {
    PellorFolder folder("dl-copy", Scenario("[Camera0.Eeprom]\n96 = 0x1234\n97 = 0x5678\n"));
    const DataRun run = folder.Run({"exec=CopyDLResonantFrequency"});
    ASSERT_EQ(run.Code("exec=CopyDLResonantFrequency"), 0u);
    EXPECT_NE(run.Trace().find("FA_ReadEepromData(96) FA_ReadEepromData(97) "
                               "FA_SetProperty(0x0100000e,4,[34127856]) MonOpen(0) "
                               "MonWrite(2,7976,2,[1234]) MonClose(0)"),
              std::string::npos) << run.Trace();
}

TEST(DLResonantFrequency, CopyReportsAFailingBoardRead) {
    PellorFolder folder("dl-copy-fails", Scenario(), BoardInfText("Address=96\r\n"));
    const DataRun run = folder.Run({"exec=CopyDLResonantFrequency"});
    EXPECT_EQ(run.Code("exec=CopyDLResonantFrequency"), 1u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [FUNC] GetBoardInfDLResonantFrequency"));
    EXPECT_TRUE(run.Runs("FA_SetProperty").empty());
}

TEST(DigitalParaAdj, WidensTheTwoSigned16BitValues) {
    PellorFolder folder("digital", Scenario("[Camera0.Public]\n0x1F000010 = fb ff 2c 01\n"));
    const DataRun run = folder.Run({"zero=8", "execs=GetDigitalParaAdjData:8"}, false);
    ASSERT_EQ(run.Code("execs=GetDigitalParaAdjData:8"), 0u);
    EXPECT_EQ(run.Bytes("execs=GetDigitalParaAdjData:8"), "fb ff ff ff 2c 01 00 00");
    EXPECT_TRUE(run.HasLog("[VALU] DeltaX - 4294967291"));
    EXPECT_TRUE(run.HasLog("[VALU] DeltaY - 300"));
}

}  // namespace
