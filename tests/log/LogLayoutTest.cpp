// Layouts of log lines: the time stamp, the current-time line, the data dump, and
// number formatting that persists from line to line within a stream.
#include <gtest/gtest.h>

#include <iomanip>
#include <regex>
#include <string>
#include <vector>

#include "common/LogBanner.h"
#include "common/LogDump.h"
#include "common/LogTimeStamp.h"
#include "core/GlobalTimer.h"
#include "log/LogTestSupport.h"

TEST(TimeStamp, ElapsedMillisecondsRightAlignedThenBar) {
    const struct {
        std::int64_t ms;
        unsigned long width;
        const char* expected;
    } cases[] = {
        {1234, 10, "      1234 | "},
        {0, 10, "         0 | "},
        {4294967295ll, 10, "4294967295 | "},
        {4294967296ll + 17, 10, "        17 | "},   // low 32 bits only
        {123456, 3, "123456 | "},                   // wider than the field: in full
        {7, 0, "7 | "},
        {-1, 10, "4294967295 | "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kvtlog::FormatTimeStamp(c.ms, c.width), c.expected) << c.ms << "/" << c.width;
    }
}

TEST(TimeStamp, GlobalTimerStampHasWidth10) {
    const unsigned long width = 10;
    CGlobalTimer::GetInstance().Start();
    const std::string stamp = _gt(width);
    EXPECT_TRUE(std::regex_match(stamp, std::regex(" *[0-9]+ \\| "))) << stamp;
    EXPECT_EQ(stamp.size(), 13u);
    EXPECT_GE(CGlobalTimer::GetInstance().GetElapsedTime(), 0);
    EXPECT_LT(CGlobalTimer::GetInstance().GetElapsedTime(), 60000);
}

// The clock counts milliseconds from its last start, and _gt shows the same count.
TEST(TimeStamp, TheClockCountsMilliseconds) {
    CGlobalTimer::GetInstance().Start();
    ::Sleep(300);
    const long long elapsed = CGlobalTimer::GetInstance().GetElapsedTime();
    const long long stamped = std::stoll(_gt(10));
    EXPECT_GE(elapsed, 290);
    EXPECT_LT(elapsed, 5000);
    EXPECT_GE(stamped, elapsed);
    EXPECT_LT(stamped, elapsed + 1000);
}

TEST(CurrentTime, AscTimeLayout) {
    std::tm t{};
    t.tm_year = 2019 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 2;
    t.tm_wday = 3;
    t.tm_hour = 3;
    t.tm_min = 4;
    t.tm_sec = 5;
    EXPECT_EQ(kvtlog::AscTimeText(t), "Wed Jan  2 03:04:05 2019\n");
    t.tm_mon = 11;
    t.tm_mday = 31;
    t.tm_wday = 0;
    t.tm_hour = 23;
    t.tm_year = 12000 - 1900;
    EXPECT_EQ(kvtlog::AscTimeText(t), "Sun Dec 31 23:04:05 12000\n") << "no fixed-size overrun";
    t.tm_mon = 12;
    EXPECT_EQ(kvtlog::AscTimeText(t), "") << "a month out of range has no name";
}

class DumpTest : public LogFileTest {};

TEST_F(DumpTest, LinesOf16BytesWithOffsetAndGapAfter8) {
    const struct {
        const char* tag;
        std::size_t size;
        std::vector<std::string> lines;
    } cases[] = {
        {"[MNTR]", 20,
         {"[MNTR]  Data[ 0000 ]  a0 a1 a2 a3 a4 a5 a6 a7  a8 a9 aa ab ac ad ae af ",
          "[MNTR]  Data[ 0010 ]  b0 b1 b2 b3 "}},
        {"[VALU]", 36,
         {"[VALU]  Data[ 0000 ]  a0 a1 a2 a3 a4 a5 a6 a7  a8 a9 aa ab ac ad ae af ",
          "[VALU]  Data[ 0010 ]  b0 b1 b2 b3 b4 b5 b6 b7  b8 b9 ba bb bc bd be bf ",
          "[VALU]  Data[ 0020 ]  c0 c1 c2 c3 "}},
    };
    std::vector<unsigned char> data(64);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<unsigned char>(0xA0 + i);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        ::DeleteFileA(LogPath().c_str());
        kvtlog::DumpData(Stream(), c.tag, data.data(), c.size);
        EXPECT_EQ(Stream().Length(), 0u) << "the dump commits what it writes";
        std::vector<std::string> lines = FileLines();
        ASSERT_EQ(lines.size(), c.lines.size());
        EXPECT_EQ(lines, c.lines);
        for (const std::string& raw : FileLines(false)) {
            EXPECT_TRUE(std::regex_match(raw.substr(0, 13), std::regex(" *[0-9]+ \\| ")))
                << "every dump line is stamped: " << raw;
        }
    }
}

TEST_F(DumpTest, EmptyDumpWritesOnlyALineEnd) {
    kvtlog::DumpData(Stream(), "[MNTR]", nullptr, 0);
    EXPECT_EQ(FileText(), "\r\n");
}

TEST_F(DumpTest, OffsetHas4HexDigitsBeyond255) {
    std::vector<unsigned char> data(260, 0x5c);
    kvtlog::DumpData(Stream(), "[MNTR]", data.data(), data.size());
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[15].substr(0, 22), "[MNTR]  Data[ 00f0 ]  ");
    EXPECT_EQ(lines[16], "[MNTR]  Data[ 0100 ]  5c 5c 5c 5c ");
}

// Base and fill stay as the last writer left them, across lines and commits: every
// number must set its own.
TEST_F(DumpTest, NumberFormattingPersistsWithinAStream) {
    kvtlog::LogStream& s = Stream();
    s << std::hex << 255 << '\n';
    kvtlog::CommitLog(s);
    s << 255 << '\n';                         // still hexadecimal after the commit
    const unsigned char byte = 7;
    kvtlog::DumpData(s, "[VALU]", &byte, 1);  // leaves decimal, fill '0'
    s << 255 << '\n' << std::setw(4) << 7 << '\n';
    s << std::setfill(' ') << std::setw(4) << 7 << '\n';
    kvtlog::CommitLog(s);
    const std::vector<std::string> expected = {
        "ff", "ff", "[VALU]  Data[ 0000 ]  07 ", "255", "0007", "   7"};
    EXPECT_EQ(FileLines(), expected);
}
