// Body identifier, file prefix and firmware versions through the factory API library,
// with the simulated camera.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pellor/PellorDataFolder.h"

namespace {

using pellortest::DataRun;
using pellortest::PellorFolder;
using pellortest::Scenario;

// Each procedure once, each on a buffer of `size` zero bytes, without the journal.
DataRun RunEachOnZeros(const PellorFolder& folder, const std::vector<std::string>& procedures,
                       std::size_t size) {
    std::vector<std::string> commands;
    for (const std::string& procedure : procedures) {
        commands.push_back("zero=" + std::to_string(size));
        commands.push_back("exec=" + procedure);
    }
    return folder.Run(commands, false);
}

// Five little-endian u32 as the driver's hex argument.
std::string BodyIDHex(std::uint32_t month, std::uint32_t second, std::uint32_t third,
                      std::uint32_t fourth, std::uint32_t serial) {
    std::string hex;
    char word[9];
    for (std::uint32_t v : {month, second, third, fourth, serial}) {
        std::snprintf(word, sizeof(word), "%02x%02x%02x%02x", v & 0xFF, (v >> 8) & 0xFF,
                      (v >> 16) & 0xFF, v >> 24);
        hex += word;
    }
    return hex;
}

// The byte block of the last write of a property, as the journal shows it.
std::string LastWrite(const DataRun& run, std::uint32_t id) {
    std::string bytes;
    for (const kvttest::SimCall& call : run.Runs("FA_SetProperty")) {
        if (call.Param(0) == id && call.params.size() == 3) {
            bytes = call.params[2].bytes;
        }
    }
    return bytes;
}

TEST(BodyID, SetWritesTheHighWordFirstAndCachesTheNumber) {
    PellorFolder folder("body-set");
    const DataRun run = folder.Run({"buf=" + BodyIDHex(12, 34, 5, 6, 123456), "execs=SetBodyID:20",
                                    "bodyblock", "exec=SaveBodyID"});
    ASSERT_EQ(run.Code("execs=SetBodyID:20"), 0u);
    EXPECT_EQ(run.Code("exec=SaveBodyID"), 0u);
    ASSERT_FALSE(run.Runs("FA_SaveProperty").empty());
    EXPECT_EQ(run.Runs("FA_SaveProperty").back().Param(0), 0x01000006u);
    // 123456123456 = 0x0000001C_BE8EF240: the words 0x0000001C, then 0xBE8EF240.
    EXPECT_EQ(LastWrite(run, 0x01000006), std::string("\x1c\0\0\0\x40\xf2\x8e\xbe", 8));
    // The block holds one little-endian 64-bit value.
    EXPECT_EQ(run.Bytes("bodyblock"), "40 f2 8e be 1c 00 00 00");
}

TEST(BodyID, GetSplitsTheNumberIntoItsDigitGroupsAndCachesIt) {
    PellorFolder folder("body-get", Scenario("BodyNumber = 123456123456\n"));
    const DataRun run = folder.Run({"zero=20", "execs=GetBodyID:20", "bodyblock"});
    ASSERT_EQ(run.Code("execs=GetBodyID:20"), 0u);
    // 12, 34, 5, 6, 123456
    EXPECT_EQ(run.Bytes("execs=GetBodyID:20"),
              "0c 00 00 00 22 00 00 00 05 00 00 00 06 00 00 00 40 e2 01 00");
    EXPECT_EQ(run.Bytes("bodyblock"), "40 f2 8e be 1c 00 00 00");
    EXPECT_TRUE(run.HasLog("BodyID - 123456"));
}

// A body number of fewer than 8 bytes is refused, not taken as a wrong number.
TEST(BodyID, GetRefusesAShortAnswerAndLeavesTheBlockAlone) {
    PellorFolder folder("body-short", Scenario("[Camera0.Public]\n0x01000006 = u32:5\n"));
    const DataRun run = folder.Run({"zero=20", "execs=GetBodyID:20", "bodyblock"});
    EXPECT_EQ(run.Code("execs=GetBodyID:20"), 35u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] ReturnDataSize"));
    EXPECT_EQ(run.Bytes("execs=GetBodyID:20"),
              "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(run.Bytes("bodyblock"), "00 00 00 00 00 00 00 00");
}

TEST(BodyID, NullParametersAreRefusedBeforeTheCamera) {
    PellorFolder folder("body-null");
    const DataRun run = folder.Run({"null=SetBodyID", "null=GetBodyID"});
    EXPECT_EQ(run.Code("null=SetBodyID"), 3u);
    EXPECT_EQ(run.Code("null=GetBodyID"), 3u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] pBodyID"));
    EXPECT_TRUE(LastWrite(run, 0x01000006).empty());
}

// The prefix comes from the serial number: base 36, base 36, a digit, a block letter.
TEST(FilePrefix, SetDerivesThePrefixFromTheSerialNumber) {
    struct Case {
        std::uint32_t serial;
        unsigned long code;
        std::string prefix;
    };
    const std::vector<Case> cases = {
        {0, 0, "000A"}, {359, 0, "0Z9A"}, {12960, 0, "000B"}, {103679, 0, "ZZ9H"}, {103680, 35, ""},
    };
    PellorFolder folder("prefix");
    std::vector<std::string> commands;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        commands.push_back("buf=" + BodyIDHex(12, 34, 5, 6, cases[i].serial));
        commands.push_back("exec=SetBodyID#" + std::to_string(i));
        commands.push_back("exec=SetFilePrefix#" + std::to_string(i));
    }
    const DataRun run = folder.Run(commands);
    std::vector<std::string> prefixes;
    for (const kvttest::SimCall& call : run.Runs("FA_SetProperty")) {
        if (call.Param(0) == 0x01000007u) {
            prefixes.push_back(call.params[2].bytes);
        }
    }
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].serial);
        EXPECT_EQ(run.Code("exec=SetFilePrefix#" + std::to_string(i)), cases[i].code);
        if (cases[i].code == 0) {
            expected.push_back(cases[i].prefix + std::string(4, '\0'));
            EXPECT_TRUE(run.HasLog("[VALU] szFilePrefix - " + cases[i].prefix));
        }
    }
    // 103680 writes nothing.
    EXPECT_EQ(prefixes, expected);
    EXPECT_TRUE(run.HasLog("[VALU] BodyID.SerialNo         - 103680"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] BodyID.SerialNo"));
}

TEST(FilePrefix, DefaultGetAndSave) {
    PellorFolder folder("prefix-default");
    const DataRun run = folder.Run({"exec=SetDefaultFilePrefix", "zero=8", "execs=GetFilePrefix:8",
                                    "exec=SaveFilePrefix"});
    EXPECT_EQ(run.Code("exec=SetDefaultFilePrefix"), 0u);
    EXPECT_EQ(LastWrite(run, 0x01000007), std::string("IMG_\0\0\0\0", 8));
    EXPECT_EQ(run.Bytes("execs=GetFilePrefix:8"), "49 4d 47 5f 00 00 00 00");
    EXPECT_EQ(run.Code("exec=SaveFilePrefix"), 0u);
    const std::vector<kvttest::SimCall> saves = run.Runs("FA_SaveProperty");
    ASSERT_FALSE(saves.empty());
    EXPECT_EQ(saves.back().Param(0), 0x01000007u);
}

// The version bytes of 0x02000006: four bytes from the unit's offset, lowest first.
TEST(FirmwareVersions, UnitVersionsAreTheFourBytesFromTheirOffset) {
    struct Case {
        const char* procedure;
        std::string bytes;       // the caller's u32
        std::string title;
        std::string item;
    };
    const std::vector<Case> cases = {
        {"GetFpuVersion", "01 02 03 04", "[VALU] FPU FirmVersion", "[VALU]    .FPU - 1"},
        {"GetTpuVersion", "05 06 07 08", "[VALU] TPU FirmVersion", "[VALU]    .TPU - 5"},
        {"GetBpVersion", "04 05 06 07", "[VALU] BP(S-FROM) Version", "[VALU]    .BP - 4"},
        {"GetEepromVersion", "1e 1f 01 02", "[VALU] EEPROM Version", "[VALU]    .BP - 1e"},
    };
    // Bytes 4 to 13: 1e 1f 01 02 03 04 05 06 07 08.
    PellorFolder folder("firmware", Scenario("[Camera0.Public]\n0x02000006 = 00 00 00 00 1e 1f 01 02 "
                                             "03 04 05 06 07 08 pad:36\n"));
    std::vector<std::string> procedures;
    for (const Case& c : cases) {
        procedures.push_back(c.procedure);
    }
    const DataRun run = RunEachOnZeros(folder, procedures, 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.procedure);
        const std::string command = std::string("exec=") + c.procedure;
        EXPECT_EQ(run.Code(command), 0u);
        EXPECT_EQ(run.Bytes(command), c.bytes);
        const int title = run.LogIndex(c.title);
        EXPECT_GE(title, 0);
        EXPECT_EQ(run.LogIndex(c.item, title), title + 1);
    }
}

TEST(FirmwareVersions, IcuRecordsArePassedThroughAndDumped) {
    PellorFolder folder("firmware-icu", Scenario("[Camera0.Public]\n"
                                                 "0x02000001 = 00 01 02 03 04 05 06 07 08 09 0a 0b "
                                                 "0c 0d 0e 0f 10 11 12 13 14 15 16 17 18 19 1a 1b "
                                                 "1c 1d 1e 1f 20 21 22 23\n"));
    const DataRun run = folder.Run({"zero=36", "exec=GetIcuFirmwareVersion"}, false);
    ASSERT_EQ(run.Code("exec=GetIcuFirmwareVersion"), 0u);
    EXPECT_EQ(run.Bytes("exec=GetIcuFirmwareVersion").substr(0, 11), "00 01 02 03");
    // 36 bytes: three data lines, the last with 4 bytes.
    const int head = run.LogIndex("[VALU]  DataSize = 36");
    ASSERT_GE(head, 0);
    EXPECT_EQ(run.LogIndex("[VALU] Data[ 00000000 ] -  00 01 02 03 04 05 06 07  08 09 0a 0b 0c 0d "
                           "0e 0f ", head), head + 1);
    EXPECT_EQ(run.LogIndex("[VALU] Data[ 00000010 ] -  10 11 12 13 14 15 16 17  18 19 1a 1b 1c 1d "
                           "1e 1f ", head), head + 2);
    EXPECT_EQ(run.LogIndex("[VALU] Data[ 00000020 ] -  20 21 22 23 ", head), head + 3);
    EXPECT_EQ(run.LogIndex("[FUNC] DebugPrintDumpMemory - 0", head), head + 4);
    EXPECT_TRUE(run.HasLog("[FUNC] GetIcuFirmwareVersion - 0"));
}

// Each of the three 36-byte records comes from its own property, under its own log name.
TEST(FirmwareVersions, EachIcuRecordComesFromItsProperty) {
    struct Case {
        const char* procedure;
        const char* logName;
        const char* firstBytes;
    } cases[] = {
        {"GetIcuFirmwareVersion", "GetIcuFirmwareVersion", "a1 a1 a1 a1"},          // 0x02000001
        {"GetIcuMasterVersion", "GetIcuMasterFirmwareVersion", "b7 b7 b7 b7"},      // 0x02000007
        {"GetIcuSlaveVersion", "GetIcuSlaveFirmwareVersion", "c5 c5 c5 c5"},        // 0x02000005
    };
    PellorFolder folder("firmware-icu3", Scenario("[Camera0.Public]\n"
                                                  "0x02000001 = fill:36:a1\n"
                                                  "0x02000007 = fill:36:b7\n"
                                                  "0x02000005 = fill:36:c5\n"));
    std::vector<std::string> procedures;
    for (const Case& c : cases) {
        procedures.push_back(c.procedure);
    }
    const DataRun run = RunEachOnZeros(folder, procedures, 36);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.procedure);
        const std::string command = std::string("exec=") + c.procedure;
        EXPECT_EQ(run.Code(command), 0u);
        EXPECT_EQ(run.Bytes(command).substr(0, 11), c.firstBytes);
        EXPECT_TRUE(run.HasLog(std::string("[FUNC] ") + c.logName + " - 0"));
    }
}

TEST(FirmwareVersions, MpuVersionAndIcuCheckSum) {
    PellorFolder folder("firmware-mpu", Scenario("IcuCheckSum = 0x5A3C\n"
                                                 "[Camera0.Public]\n0x80030000 = 11 22 33 44\n"));
    const DataRun run = folder.Run({"zero=4", "exec=GetMpuFirmwareVersion", "zero=4",
                                    "exec=GetIcuCheckSum"}, false);
    EXPECT_EQ(run.Code("exec=GetMpuFirmwareVersion"), 0u);
    EXPECT_EQ(run.Bytes("exec=GetMpuFirmwareVersion"), "11 22 33 44");
    EXPECT_EQ(run.LogIndex("[VALU]    .MPU - 11"), run.LogIndex("[VALU] MPU FirmVersion") + 1);
    EXPECT_EQ(run.Bytes("exec=GetIcuCheckSum"), "3c 5a 00 00");
}

// Procedures whose null parameter would be written through or read are refused with 3
// before any camera traffic (A-board EEPROM included: power save is not touched).
TEST(NullParameters, AreRefusedBeforeAnyCameraTraffic) {
    PellorFolder folder("null-params");
    const DataRun opened = folder.Run({});
    const std::vector<std::string> procedures = {
        "GetMpuFirmwareVersion", "GetABoardEepromData", "SetABoardEepromData", "GetFpuVersion",
        "GetIcuFirmwareVersion", "GetDigitalParaAdjData", "GetDLResonantFrequency",
        "SetDLResonantFrequency", "GetBoardInfDLResonantFrequency",
        "SetBoardInfDLResonantFrequency", "GetFilePrefix", "GetIcuCheckSum"};
    std::vector<std::string> commands;
    for (const std::string& p : procedures) {
        commands.push_back("null=" + p);
    }
    const DataRun run = folder.Run(commands);
    for (const std::string& p : procedures) {
        SCOPED_TRACE(p);
        EXPECT_EQ(run.Code("null=" + p), 3u);
    }
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] pFirmVersion"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] pData"));
    EXPECT_EQ(kvttest::SimExecutes(run.journal).size(), kvttest::SimExecutes(opened.journal).size());
}

}  // namespace
