// The plug-in's data helpers linked into a small test host: the property catalogue and
// its index, the data file names and folder rule, and the two dump routines.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "common/LogFile.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/MemoryDump.h"
#include "plugins/pellor/PropertyCatalogue.h"
#include "plugins/pellor/PropertyDataFile.h"
#include "plugins/pellor/PropertyIndex.h"
#include "plugins/pellor/PropertyList.h"
#include "support/TestSupport.h"

namespace {

class DataUnit : public ::testing::Test {
protected:
    void SetUp() override { kvtlog::StartLogStaging(); }
    std::vector<std::string> Log() const { return kvttest::ReadLogLines("KvtDll.log"); }
};

TEST_F(DataUnit, CatalogueHas239UniqueRecordsThenTheEndMark) {
    std::int32_t count = 0;
    ASSERT_EQ(pellor::GetPropertyDataCount(&count), 0u);
    EXPECT_EQ(count, 239);
    std::vector<pellor::PROPERTY_DATA_T> list(240);
    ASSERT_EQ(pellor::GetPropertyDataList(list.data()), 0u);
    EXPECT_STREQ(list[239].szName, "PROP_END_ID");
    EXPECT_EQ(list[239].ID, 0xDEADu);
    EXPECT_EQ(list[239].Size, 0u);
    std::set<std::string> names;
    std::set<std::uint32_t> ids;
    for (int i = 0; i < count; ++i) {
        const std::string name(list[i].szName, strnlen(list[i].szName, sizeof(list[i].szName)));
        ASSERT_LT(name.size(), 64u) << i;
        names.insert(name);
        ids.insert(list[i].ID);
        EXPECT_GT(list[i].Size, 0u) << name;
        EXPECT_TRUE(list[i].ID >> 24 == 0x01 || list[i].ID >> 24 == 0x1F) << name;
    }
    EXPECT_EQ(names.size(), 239u);
    EXPECT_EQ(ids.size(), 239u);
    // Range boundaries of the catalogue.
    EXPECT_STREQ(list[40].szName, "PROP_CHANNEL_GAIN_102400");
    EXPECT_EQ(list[40].ID, 0x010100A8u);
    EXPECT_STREQ(list[102].szName, "PROP_V_SHADING2_40");
    EXPECT_EQ(list[102].ID, 0x0101013Au);
    EXPECT_STREQ(list[121].szName, "PROP_LV_H_SHADING_25600");
    EXPECT_EQ(list[121].ID, 0x01050081u);
    EXPECT_STREQ(list[219].szName, "PROP_DAF_SHADING_25600");
    EXPECT_EQ(list[219].ID, 0x01050164u);
    EXPECT_TRUE(Log().size() > 0 && kvttest::FindLine(Log(), "[VALU] nCount - 239") >= 0);
}

// The catalogue row by row, from its description as ranges: names (a prefix with its
// suffixes, or whole names), identifier runs (first to last, inclusive) and the size.
TEST_F(DataUnit, EveryRowHasTheNameIdentifierAndSizeOfItsRange) {
    struct Run {
        std::uint32_t first, last;
    };
    struct Range {
        const char* prefix;
        std::vector<std::string> names;   // appended to the prefix
        std::vector<Run> ids;
        std::uint32_t size;
    };
    const std::vector<std::string> iso9 = {"100", "200", "400", "800", "1600",
                                           "3200", "6400", "12800", "25600"};
    auto numbers = [](int from, int to) {
        std::vector<std::string> out;
        for (int n = from; n <= to; ++n) {
            out.push_back(std::to_string(n));
        }
        return out;
    };
    const Range ranges[] = {
        {"PROP_", {"TUNING_FLAG"}, {{0x01000000, 0x01000000}}, 4},
        {"PROP_", {"TUNING_VERSION"}, {{0x01000001, 0x01000001}}, 4},
        {"PROP_", {"SENSOR_NUMBER"}, {{0x01000002, 0x01000002}}, 16},
        {"PROP_", {"SENSOR_PIXEL_PITCH"}, {{0x01000003, 0x01000003}}, 2},
        {"PROP_", {"SENSOR_OPTICAL_PATH_LENGTH"}, {{0x01000004, 0x01000004}}, 2},
        {"PROP_", {"BODY_ID"}, {{0x01000006, 0x01000006}}, 8},
        {"PROP_", {"FILE_PREFIX"}, {{0x01000007, 0x01000007}}, 8},
        {"PROP_", {"MASTER_BODY"}, {{0x01000009, 0x01000009}}, 4},
        {"PROP_", {"ADJUST_APP_VERSION"}, {{0x0100000A, 0x0100000A}}, 4},
        {"PROP_", {"VISTA_UNIQUE_ID"}, {{0x0100000C, 0x0100000C}}, 20},
        {"PROP_", {"VISTA_UNIQUE_ID_FLAG"}, {{0x0100000D, 0x0100000D}}, 4},
        {"PROP_", {"LIMIT_LANGUAGE"}, {{0x01000012, 0x01000012}}, 4},
        {"PROP_", {"OVERRIDE_MODELNAME"}, {{0x01000010, 0x01000010}}, 32},
        {"PROP_", {"ANALOG_GAIN_100"}, {{0x01010006, 0x01010006}}, 48},
        {"PROP_CHANNEL_GAIN_",
         {"100", "125", "160", "200", "250", "320", "400", "500", "640", "800", "1000", "1250",
          "1600", "2000", "2500", "3200", "4000", "5000", "6400", "8000", "10000", "12800",
          "16000", "20000", "25600", "51200", "102400"},
         {{0x01010022, 0x01010037}, {0x01010078, 0x0101007A}, {0x010100A7, 0x010100A8}}, 32},
        {"PROP_H_SHADING_", {"125", "250", "500", "1000", "2000", "4000", "8000"},
         {{0x0101004E, 0x0101004E}, {0x01010051, 0x01010051}, {0x01010054, 0x01010054},
          {0x01010057, 0x01010057}, {0x0101005A, 0x0101005A}, {0x0101005D, 0x0101005D},
          {0x01010060, 0x01010060}},
         22592},
        {"PROP_", {"WHITE_SEARCH"}, {{0x01010073, 0x01010073}}, 48},
        {"PROP_", {"COLOR"}, {{0x01010074, 0x01010074}}, 76},
        {"PROP_IR_SHADING2_", numbers(1, 17), {{0x0101007E, 0x0101008E}}, 1440},
        {"PROP_V_SHADING2_", numbers(5, 40), {{0x01010094, 0x010100A1}, {0x01010125, 0x0101013A}},
         29760},
        {"PROP_", {"VIDEO_SYNCGAIN_BURSTLEVEL"}, {{0x01030001, 0x01030001}}, 16},
        {"PROP_", {"DISPLAY_YUVGAIN"}, {{0x01030002, 0x01030002}}, 24},
        {"PROP_", {"TFT_BRIGHTNESS"}, {{0x01030004, 0x01030004}}, 28},
        {"PROP_", {"TFT_COM"}, {{0x01030005, 0x01030005}}, 36},
        {"PROP_", {"BRIGHT_SENCE"}, {{0x01030006, 0x01030006}}, 8},
        {"PROP_", {"PDEFDATA_DEFMARK"}, {{0x01040000, 0x01040000}}, 360000},
        {"PROP_", {"LV_NORMAL_PDEFDATA2_DEFMARK"}, {{0x01050176, 0x01050176}}, 28000},
        {"PROP_", {"LV_NORMAL_PDEFDATA2_DEFMARK2"}, {{0x01050178, 0x01050178}}, 40000},
        {"PROP_", {"LV_NORMAL_PDEFDATA2_DEFMARK3"}, {{0x0105017B, 0x0105017B}}, 28000},
        {"PROP_", {"LV_MAGNIF_PDEFDATA2_DEFMARK"}, {{0x01050177, 0x01050177}}, 48056},
        {"PROP_LV_H_SHADING_", iso9, {{0x01050000, 0x01050007}, {0x01050081, 0x01050081}}, 52736},
        {"PROP_LV_IR_SHADING2_", numbers(1, 17), {{0x01050027, 0x01050037}}, 512},
        {"PROP_", {"LV_ANALOG_GAIN"}, {{0x010500AB, 0x010500AB}}, 48},
        {"PROP_LV_CHANNEL_GAIN_", iso9, {{0x010500B9, 0x010500C1}}, 32},
        {"PROP_LV_V_SHADING1_", numbers(5, 24),
         {{0x0105010E, 0x0105011B}, {0x010501C7, 0x010501C9}, {0x010501F2, 0x010501F4}}, 5248},
        {"PROP_LV_V_SHADING2_", numbers(5, 24),
         {{0x0105003D, 0x0105004A}, {0x010501CA, 0x010501CC}, {0x010501F5, 0x010501F7}}, 8544},
        {"PROP_LV_V_SHADING3_", numbers(5, 24),
         {{0x0105004F, 0x0105005C}, {0x010501CD, 0x010501CF}, {0x010501F8, 0x010501FA}}, 6064},
        {"PROP_", {"DAF_ABSHD_TBL"}, {{0x0105011C, 0x0105011C}}, 81920},
        {"PROP_", {"DAF_K_TBL"}, {{0x0105011D, 0x0105011D}}, 14336},
        {"PROP_DAF_SHADING_", iso9, {{0x01050154, 0x0105015A}, {0x01050163, 0x01050164}}, 3664},
        {"PROP_DAF_SHADING2_", iso9, {{0x010501E8, 0x010501F0}}, 3664},
        {"PROP_", {"DAF_V3_LINE_DEFMARK"}, {{0x0105015B, 0x0105015B}}, 88},
        {"PROP_", {"DAF_V5_LINE_DEFMARK"}, {{0x0105015C, 0x0105015C}}, 56},
        {"PROP_", {"DAF_V5_SKIP"}, {{0x01050165, 0x01050165}}, 56},
        {"PROP_", {"ESHUT_CURVE"}, {{0x01070000, 0x01070000}}, 8400},
        {"PROP_", {"AECU_AECOLOR_RATIO"}, {{0x1F000009, 0x1F000009}}, 16},
        {"PROP_", {"AECU_AE_LEVEL_Y"}, {{0x1F00000A, 0x1F00000A}}, 504},
        {"PROP_", {"AECU_WB"}, {{0x1F00000F, 0x1F00000F}}, 48},
        {"PROP_AECU_SCREEN", {"0", "1", "2"}, {{0x1F000011, 0x1F000013}}, 106908},
        {"PROP_", {"END_ID"}, {{0x0000DEAD, 0x0000DEAD}}, 0},
    };
    std::vector<pellor::PROPERTY_DATA_T> expected;
    for (const Range& range : ranges) {
        std::vector<std::uint32_t> ids;
        for (const Run& run : range.ids) {
            for (std::uint32_t id = run.first; id <= run.last; ++id) {
                ids.push_back(id);
            }
        }
        ASSERT_EQ(ids.size(), range.names.size()) << range.prefix << range.names[0];
        for (std::size_t i = 0; i < ids.size(); ++i) {
            pellor::PROPERTY_DATA_T row{};
            const std::string name = range.prefix + range.names[i];
            std::memcpy(row.szName, name.c_str(), name.size());
            row.ID = ids[i];
            row.Size = range.size;
            expected.push_back(row);
        }
    }
    ASSERT_EQ(expected.size(), pellor::kPropertyTableRows);
    for (std::size_t row = 0; row < expected.size(); ++row) {
        const pellor::PROPERTY_DATA_T& have = pellor::kPropTable[row];
        SCOPED_TRACE("row " + std::to_string(row) + " " + expected[row].szName);
        EXPECT_EQ(std::string(have.szName, sizeof(have.szName)),
                  std::string(expected[row].szName, sizeof(expected[row].szName)));
        EXPECT_EQ(have.ID, expected[row].ID);
        EXPECT_EQ(have.Size, expected[row].Size);
    }
}

TEST_F(DataUnit, IndexFindsNamesOnlyAfterRegistrationAndStaysRightWhenBuiltTwice) {
    std::uint32_t id = 0;
    std::uint32_t size = 0;
    EXPECT_FALSE(pellor::FindPropertyData("PROP_BODY_ID", &id, &size));
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(pellor::RegisterPropertyData(), 0u);
        for (const pellor::PROPERTY_DATA_T& record : pellor::kPropTable) {
            if (record.ID == pellor::kPropEndID) {
                EXPECT_FALSE(pellor::FindPropertyData(record.szName, &id, &size));
                break;
            }
            ASSERT_TRUE(pellor::FindPropertyData(record.szName, &id, &size)) << record.szName;
            EXPECT_EQ(id, record.ID);
            EXPECT_EQ(size, record.Size);
        }
    }
    EXPECT_TRUE(kvttest::FindLine(Log(), "[FUNC] RegisterPropertyData - 0") >= 0);
}

TEST_F(DataUnit, SizesRoundUpToMultiplesOfFour) {
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> cases = {
        {0, 0}, {1, 4}, {2, 4}, {4, 4}, {5, 8}, {106908, 106908}, {48057, 48060}};
    for (const auto& c : cases) {
        std::uint32_t size = c.first;
        pellor::RoundUpToMultipleOf4(&size);
        EXPECT_EQ(size, c.second) << c.first;
    }
}

TEST_F(DataUnit, DataFileNamesAreEightLowerCaseHexDigits) {
    EXPECT_EQ(pellor::PropertyDataFileName(0x01010022), "01010022.bin");
    EXPECT_EQ(pellor::PropertyDataFileName(0x1F000009), "1f000009.bin");
    EXPECT_EQ(pellor::PropertyDataFileName(0xDEAD), "0000dead.bin");
    EXPECT_EQ(pellor::PropertyDataFileName(0), "00000000.bin");
    EXPECT_EQ(pellor::PropertyDataFolder("D:\\Adjust\\"), "D:\\Adjust\\");
    EXPECT_EQ(pellor::PropertyDataFolder("D:\\Adjust\\Data"), "D:\\Adjust\\");
}

TEST_F(DataUnit, WriteDumpRefusesNullDataWithoutCreatingAFile) {
    const std::uint32_t size = 4;
    EXPECT_EQ(pellor::DebugWriteDumpMemory("NullDump", nullptr, &size), 3u);
    EXPECT_FALSE(kvttest::FileExists("NullDump"));
    const std::vector<std::string> log = Log();
    const int head = kvttest::FindLine(log, "[FUNC] DebugWriteDumpMemory");
    ASSERT_GE(head, 1);
    EXPECT_EQ(log[head - 1], "[----]");
    EXPECT_EQ(kvttest::FindLine(log, "[ERR!] - [VALU] pData", head), head + 1);
    EXPECT_EQ(kvttest::FindLine(log, "[FUNC] DebugWriteDumpMemory - 3", head), head + 2);
}

TEST_F(DataUnit, WriteDumpWritesTheBytesAndReportsAFolderThatIsNoFile) {
    const std::string bytes("a\0\r\n\x1a" "z", 6);
    const std::uint32_t size = static_cast<std::uint32_t>(bytes.size());
    ASSERT_EQ(pellor::DebugWriteDumpMemory("Dump.bin", bytes.data(), &size), 0u);
    EXPECT_EQ(kvttest::ReadFileBytes("Dump.bin"), bytes);
    EXPECT_EQ(pellor::DebugWriteDumpMemory("NoSuchFolder\\Dump.bin", bytes.data(), &size), 1u);
    EXPECT_TRUE(kvttest::FindLine(Log(), "[ERR!] - [STDF] File Stream Open Error") >= 0);
}

TEST_F(DataUnit, PrintDumpOfNothingWritesNoDataLines) {
    for (std::int32_t size : {0, -5}) {
        const unsigned char byte = 0x7f;
        pellor::DebugPrintDumpMemory(&byte, &size);
        const std::vector<std::string> log = Log();
        const int head = kvttest::FindLine(log, "[VALU]  DataSize = " + std::to_string(size));
        ASSERT_GE(head, 0);
        EXPECT_EQ(log[head + 1], "");
        EXPECT_EQ(log[head + 2], "[FUNC] DebugPrintDumpMemory - 0");
    }
}

}  // namespace
