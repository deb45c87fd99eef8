// The plug-in's data helpers linked into a small test host: the property catalogue and
// its index, the data file names and folder rule, and the two dump routines.
#include <gtest/gtest.h>

#include <cstdint>
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
