// The tool's pure parts: count formulas, model dispatch, text cutting, result text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "console/CounterFormulas.h"
#include "console/ModelTable.h"
#include "console/ResultText.h"
#include "console/TextCut.h"

namespace {

using tavol::ModelChoice;
using tavol::Readout;

struct TwoCounterCase {
    std::uint8_t record[tavol::kTwoCounterRecordSize];
    std::int32_t count;
};

TEST(CounterFormulas, TwoCounterRecord) {
    const TwoCounterCase cases[] = {
        {{0x00, 0x01, 0x00, 0x02}, 257},
        {{0x00, 0x01, 0x09, 0x02}, 257},  // byte 2 does not enter
        {{0x01, 0x00, 0x00, 0x00}, 65535},
        {{0xFF, 0xFF, 0xFF, 0xFF}, 16776705},
        {{0x00, 0x00, 0x00, 0x00, 9, 9, 9, 9, 9, 9}, 0},  // nor do bytes 4 to 9
        {{0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 16776705},
    };
    for (const TwoCounterCase& c : cases) {
        EXPECT_EQ(tavol::TwoCounterCount(c.record), c.count)
            << int(c.record[0]) << " " << int(c.record[1]) << " " << int(c.record[3]);
    }
}

TEST(CounterFormulas, OneCounterRecordIsBigEndian) {
    const struct {
        std::uint8_t record[tavol::kOneCounterRecordSize];
        std::int32_t count;
    } cases[] = {
        {{0x00, 0x01, 0x02}, 258},
        {{0x01, 0x00, 0x00}, 65536},
        {{0x00, 0x00, 0x00}, 0},
        {{0xFF, 0xFF, 0xFF}, 16777215},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tavol::OneCounterCount(c.record), c.count) << int(c.record[0]);
    }
}

struct DispatchCase {
    const char* productName;
    Readout readout;
    std::uint32_t shutter;
    std::uint32_t mirror;
};

TEST(ModelTable, DispatchesByWholeNameIgnoringCase) {
    const DispatchCase cases[] = {
        {"Tavol OXR A01", Readout::TwoCounters, 4117, 4107},
        {"Tavol OXR A18", Readout::TwoCounters, 4117, 4107},
        {"tavol oxr a05", Readout::TwoCounters, 4117, 4107},
        {"Tavol OXR B01", Readout::TwoCounters, 4097, 4131},
        {"TAVOL OXR B06", Readout::TwoCounters, 4097, 4131},
        {"Tavol OXR S01", Readout::OneCounter, 6661, 0},
        {"tAVOL oxr s02", Readout::OneCounter, 4933, 0},
        {"Tavol OXR N01", Readout::Unsupported, 0, 0},
        {"tavol oxr n06", Readout::Unsupported, 0, 0},
        // In the table after group N, but not compared as group N: default readout.
        {"Tavol OXR N07", Readout::TwoCounters, 4097, 4107},
        {"Tavol OXR N08", Readout::TwoCounters, 4097, 4107},
        // Unknown names, prefixes and extensions of known ones: default readout.
        {"Tavol OXR Z99", Readout::TwoCounters, 4097, 4107},
        {"Tavol OXR A19", Readout::TwoCounters, 4097, 4107},
        {"Tavol OXR A0", Readout::TwoCounters, 4097, 4107},
        {"Tavol OXR S01 ", Readout::TwoCounters, 4097, 4107},
        {"Tavol OXR N01x", Readout::TwoCounters, 4097, 4107},
        {"", Readout::TwoCounters, 4097, 4107},
        {nullptr, Readout::TwoCounters, 4097, 4107},
    };
    for (const DispatchCase& c : cases) {
        ModelChoice m = tavol::ChooseModel(c.productName);
        const char* name = c.productName != nullptr ? c.productName : "(null)";
        EXPECT_EQ(m.readout, c.readout) << name;
        EXPECT_EQ(m.shutterAddress, c.shutter) << name;
        EXPECT_EQ(m.mirrorAddress, c.mirror) << name;
    }
}

TEST(ModelTable, FactoryModeNameInAnyCase) {
    EXPECT_TRUE(tavol::IsFactoryMode("Tavol OXR FactoryConnect"));
    EXPECT_TRUE(tavol::IsFactoryMode("TAVOL OXR FACTORYCONNECT"));
    EXPECT_TRUE(tavol::IsFactoryMode("tavol oxr factoryconnect"));
    EXPECT_FALSE(tavol::IsFactoryMode("Tavol OXR FactoryConnect2"));
    EXPECT_FALSE(tavol::IsFactoryMode("Tavol OXR A05"));
    EXPECT_FALSE(tavol::IsFactoryMode(nullptr));
}

TEST(ModelTable, CaseFoldingTouchesAsciiLettersOnly) {
    // 0xC1 and 0xE1 differ by 0x20 like 'A' and 'a', but are not ASCII letters.
    EXPECT_FALSE(tavol::SameNameIgnoringCase("\xC1\xE1", "\xE1\xE1"));
    EXPECT_TRUE(tavol::SameNameIgnoringCase("\xC1" "A", "\xC1" "a"));
    EXPECT_FALSE(tavol::SameNameIgnoringCase("[", "{"));
}

TEST(TextCut, NeverEndsInsideADoubleByteCharacter) {
    const struct {
        const char* text;
        std::size_t limit;
        std::size_t expected;
    } cases[] = {
        {"abcdef", 4, 4},
        {"ab\xBE\xB5" "cd", 4, 4},   // the character ends at the limit
        {"ab\xBE\xB5" "cd", 3, 2},   // its second byte is beyond the limit
        {"\xBE\xB5\xBE\xB5", 3, 2},
        {"\xBE\x41\xBE\x41", 3, 2},  // an ASCII-range second byte still belongs to it
        {"abc", 10, 3},             // stops at the zero
        {"", 5, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tavol::WholeCharacterLength(c.text, c.limit), c.expected)
            << c.text << " / " << c.limit;
    }
}

TEST(ResultText, AppendsUntilFullAndNeverOverruns) {
    tavol::CResultText text;
    std::string chunk(1000, 'x');
    for (int i = 0; i < 5; ++i) {
        text.Append(chunk.c_str());
    }
    EXPECT_EQ(text.Length(), tavol::CResultText::kSize - 1);
    EXPECT_EQ(std::strlen(text.Text()), tavol::CResultText::kSize - 1);
    text.Append("more");
    EXPECT_EQ(text.Length(), tavol::CResultText::kSize - 1);

    // A double-byte character that would straddle the end is left out whole.
    tavol::CResultText gbk;
    gbk.Append(std::string(tavol::CResultText::kSize - 2, 'y').c_str());
    gbk.Append("\xBE\xB5");
    EXPECT_EQ(gbk.Length(), tavol::CResultText::kSize - 2);
    text.Clear();
    EXPECT_EQ(text.Length(), 0u);
    EXPECT_STREQ(text.Text(), "");
}

TEST(ResultText, ReportCutsAMessageTo399Characters) {
    tavol::CResultText& result = tavol::TheResultText();
    result.Clear();
    std::string longValue(500, 'v');
    tavol::Report("value: %s\n", longValue.c_str());
    EXPECT_EQ(result.Length(), tavol::kReportMaxChars);
    EXPECT_EQ(std::string(result.Text(), 7), "value: ");

    result.Clear();
    std::string gbkValue;
    for (int i = 0; i < 250; ++i) {
        gbkValue += "\xBE\xB5";
    }
    tavol::Report("%s", ("a" + gbkValue).c_str());  // byte 399 ends a character
    EXPECT_EQ(result.Length(), tavol::kReportMaxChars);
    result.Clear();
    tavol::Report("%s", gbkValue.c_str());  // byte 399 would be a first half
    EXPECT_EQ(result.Length(), tavol::kReportMaxChars - 1);

    result.Clear();
    tavol::Report("%d:%s", 7, "ok\n");
    tavol::Report("next\n");
    EXPECT_STREQ(result.Text(), "7:ok\nnext\n");
    result.Clear();
}

}  // namespace
