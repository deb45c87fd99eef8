// Fitting SyncWrite's text into the 2,048,000-byte log block: never a split character,
// never a byte read or written past the buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/Win32.h"
#include "core/channel/TextCut.h"

using comlib::FitTextLength;

TEST(FitTextLength, KeepsWholeCharactersOfTheCodePage) {
    struct Case {
        const char* label;
        std::string text;
        std::size_t capacity;
        unsigned codePage;
        std::size_t expected;
    };
    const Case cases[] = {
        {"fits", "abc", 10, 1252, 3},
        {"fits with its zero exactly", "abc", 4, 1252, 3},
        {"single-byte cut", "abcdef", 4, 1252, 3},
        {"empty", "", 4, 1252, 0},
        {"Shift-JIS pair would be split", "a\x82\xa0\x82\xa2", 3, 932, 1},
        {"Shift-JIS pair fits", "a\x82\xa0\x82\xa2", 4, 932, 3},
        {"half-width katakana are single bytes", "a\xb1\xb1\xb1", 3, 932, 2},
        // The trail byte 0x82 is also a lead byte: only a walk from the start knows.
        {"trail byte in the lead range", "\x82\x82\x82\xa0", 4, 932, 2},
        {"trail byte in the lead range, shifted", "x\x82\x82\x82\xa0", 4, 932, 3},
        {"UTF-8 sequence would be split", "a\xc3\xa9" "b", 3, CP_UTF8, 1},
        {"UTF-8 sequence fits", "a\xc3\xa9" "b", 4, CP_UTF8, 3},
        {"UTF-8 three bytes", "\xe8\xad\xa6\xe5\x91\x8a", 6, CP_UTF8, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitTextLength(c.text.c_str(), c.capacity, c.codePage), c.expected) << c.label;
    }
    EXPECT_EQ(FitTextLength(nullptr, 10, 1252), 0u);
    EXPECT_EQ(FitTextLength("abc", 1, 1252), 0u);
}

// A text without a zero that ends right before an inaccessible page: the cut must not
// look past the capacity.
TEST(FitTextLength, ReadsNoMoreThanTheCapacity) {
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    const std::size_t page = info.dwPageSize;
    auto* base = static_cast<char*>(
        ::VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(base, nullptr);
    DWORD old = 0;
    ASSERT_TRUE(::VirtualProtect(base + page, page, PAGE_NOACCESS, &old));
    const std::size_t capacity = 100;
    char* text = base + page - capacity;
    std::memset(text, 'x', capacity);
    EXPECT_EQ(FitTextLength(text, capacity, 1252), capacity - 1);
    EXPECT_EQ(FitTextLength(text, capacity, 932), capacity - 1);
    EXPECT_EQ(FitTextLength(text, capacity, CP_UTF8), capacity - 1);
    ::VirtualFree(base, 0, MEM_RELEASE);
}
