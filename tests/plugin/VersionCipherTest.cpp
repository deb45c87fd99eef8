// The substitution table of the version list and Sort, the decoding of one field.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "factory_api/plugin/VersionCipher.h"

TEST(VersionCipher, TheTableIsAPermutationWithoutFixedPoints) {
    const std::string alphabet =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz.";
    std::set<char> inputs;
    std::set<char> outputs;
    for (const verck::CipherPair& pair : verck::kCipherTable) {
        inputs.insert(static_cast<char>(pair.input));
        outputs.insert(static_cast<char>(pair.output));
        EXPECT_NE(pair.input, pair.output);
    }
    EXPECT_EQ(inputs.size(), 63u);
    EXPECT_EQ(inputs, std::set<char>(alphabet.begin(), alphabet.end()));
    EXPECT_EQ(outputs, inputs);
}

TEST(VersionCipher, EncodingIsTheInverseOfDecoding) {
    for (int c = 1; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        EXPECT_EQ(verck::DecodeChar(verck::EncodeChar(ch)), ch) << c;
    }
    EXPECT_EQ(verck::DecodeChar('_'), '_') << "characters outside the table stay";
}

// The stored form is part of the file format: these bytes must keep decoding.
TEST(VersionCipher, KnownStoredTexts) {
    char field[verck::kFieldSize];
    ASSERT_TRUE(verck::EncodeField("Pellor.q517", field));
    EXPECT_STREQ(field, "maMM7tAdhgC");
    ASSERT_TRUE(verck::EncodeField("1.1.0.0", field));
    EXPECT_STREQ(field, "gAgAQAQ");
}

TEST(VersionCipher, EncodeFieldRefusesTextsThatDoNotFit) {
    char field[verck::kFieldSize];
    EXPECT_TRUE(verck::EncodeField(std::string(31, 'a'), field));
    EXPECT_FALSE(verck::EncodeField(std::string(32, 'a'), field));
    EXPECT_EQ(field[0], '\0');
    EXPECT_FALSE(verck::EncodeField(std::string("a\0b", 3), field));
}

TEST(Sort, DecodesInPlaceAndPrintsTheText) {
    char field[verck::kFieldSize];
    ASSERT_TRUE(verck::EncodeField("Pellor.q517", field));
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(Sort(field), 0u);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_STREQ(field, "Pellor.q517");
    EXPECT_NE(out.find("sort ->  Pellor.q517"), std::string::npos) << out;
}

TEST(Sort, A31CharacterTextFits) {
    const std::string text(31, 'z');
    char field[verck::kFieldSize];
    ASSERT_TRUE(verck::EncodeField(text, field));
    EXPECT_EQ(Sort(field), 0u);
    EXPECT_EQ(std::string(field), text);
}

TEST(Sort, AFieldWithoutTerminatingZeroIsRefusedAndLeftAlone) {
    char field[verck::kFieldSize];
    std::memset(field, 'A', sizeof(field));
    EXPECT_EQ(Sort(field), 1u);
    for (char c : field) {
        EXPECT_EQ(c, 'A');
    }
}
