// The verck tool's text list and encoded file.
#include <gtest/gtest.h>

#include <cstring>

#include "factory_api/plugin/VersionCipher.h"
#include "tools/verck/VersionListFile.h"

using verck::Entry;

TEST(VersionListFile, ParsesEncodesAndDecodesAList) {
    std::vector<Entry> entries;
    std::string error;
    ASSERT_TRUE(verck::ParseList("# comment\r\n\r\nplugin My Tool.q517 1.1.0.0\r\n"
                                 "ini Q517.ini 1.0.0.0\n",
                                 entries, error))
        << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "My Tool.q517") << "names may hold blanks";
    const std::string bytes = verck::EncodeList(entries);
    ASSERT_EQ(bytes.size(), 4 * verck::kFieldSize);
    // The INI version is stored as it is; every other field is encoded.
    EXPECT_STREQ(bytes.data() + 3 * verck::kFieldSize, "1.0.0.0");
    EXPECT_STRNE(bytes.data() + 1 * verck::kFieldSize, "1.1.0.0");
    std::vector<Entry> decoded;
    ASSERT_TRUE(verck::DecodeList(bytes, decoded, error)) << error;
    ASSERT_EQ(decoded.size(), 2u);
    EXPECT_EQ(decoded[0].name, "My Tool.q517");
    EXPECT_EQ(decoded[0].version, "1.1.0.0");
    EXPECT_EQ(decoded[1].kind, Entry::Kind::Ini);
    EXPECT_EQ(decoded[1].version, "1.0.0.0");
}

// Entries the library's checks could never match are refused with their line.
TEST(VersionListFile, RefusesEntriesTheChecksCannotMatch) {
    const char* const lists[] = {
        "plugin OnlyTwoWords\n",
        "module A.q517 1.0\n",
        "plugin A.q517 12345678901234567890123456789012\n",
        "ini Settings.txt 1.0\n",
        "ini Q517.ini 1.0.0.0.0.0\n",        // more than 9 characters
        "plugin A.ini.q517 1.0\n",           // would be taken for an INI entry
    };
    for (const char* list : lists) {
        std::vector<Entry> entries;
        std::string error;
        EXPECT_FALSE(verck::ParseList(std::string("\n") + list, entries, error)) << list;
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
    }
}

TEST(VersionListFile, DecodeRefusesMalformedFiles) {
    std::vector<Entry> entries;
    std::string error;
    EXPECT_FALSE(verck::DecodeList(std::string(33, '\0'), entries, error));
    EXPECT_FALSE(verck::DecodeList(std::string(64, 'A'), entries, error));
}
