// kvt::BlockAccess: every read and write of a block under its mutex, within the block.
#include <gtest/gtest.h>

#include <string>

#include "common/SharedMemory.h"

namespace {

class BlockAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string name = "KVT_TEST_ACCESS_" + std::to_string(::GetCurrentProcessId());
        ASSERT_EQ(_block.MallocSharedMemory(8, name.c_str(), (name + "_M").c_str()), 1);
    }
    CSharedMemory _block;
};

}  // namespace

TEST_F(BlockAccessTest, ValuesMustFitTheBlock) {
    kvt::BlockAccess access(_block);
    ASSERT_TRUE(access.Valid());
    EXPECT_EQ(access.Size(), 8u);
    EXPECT_TRUE(access.Write(std::uint32_t{0x11223344u}, 4));
    EXPECT_FALSE(access.Write(std::uint32_t{1}, 5));
    EXPECT_FALSE(access.Write(std::uint64_t{1}, 1));
    EXPECT_FALSE(access.Write(std::uint32_t{1}, static_cast<std::size_t>(-1)));
    std::uint32_t word = 0;
    EXPECT_TRUE(access.Read(word, 4));
    EXPECT_EQ(word, 0x11223344u);
    std::uint64_t wide = 0;
    EXPECT_FALSE(access.Read(wide, 4));
    EXPECT_TRUE(access.Read(wide));
    EXPECT_EQ(wide, 0x1122334400000000ull) << "values are stored little-endian";
}

TEST_F(BlockAccessTest, TextIsStoredWholeWithItsZeroOrRefused) {
    kvt::BlockAccess access(_block);
    EXPECT_TRUE(access.WriteText("1234567"));
    EXPECT_EQ(access.ReadText(), "1234567");
    EXPECT_FALSE(access.WriteText("12345678")) << "no room for the terminating zero";
    EXPECT_EQ(access.ReadText(), "1234567") << "a refused text leaves the block alone";
    EXPECT_TRUE(access.WriteText("ab"));
    std::uint64_t rest = 1;
    ASSERT_TRUE(access.Read(rest));
    EXPECT_EQ(rest, 0x6261ull) << "the rest of the block is zero-filled";
}

TEST_F(BlockAccessTest, ReadTextStopsAtTheEndOfABlockWithoutZero) {
    kvt::BlockAccess access(_block);
    ASSERT_TRUE(access.Write(std::uint64_t{0x4848484848484848ull}));
    EXPECT_EQ(access.ReadText(), "HHHHHHHH");
    EXPECT_TRUE(access.Clear());
    EXPECT_EQ(access.ReadText(), "");
}

TEST(BlockAccess, NothingIsTouchedWithoutViewOrLock) {
    CSharedMemory none;
    kvt::BlockAccess noBlock(none);
    std::uint32_t word = 7;
    EXPECT_FALSE(noBlock.Valid());
    EXPECT_FALSE(noBlock.Read(word));
    EXPECT_FALSE(noBlock.Write(word));
    EXPECT_FALSE(noBlock.WriteText("x"));
    EXPECT_EQ(noBlock.Data(), nullptr);
    EXPECT_EQ(word, 7u);

    // A block without a mutex cannot be accessed safely: refused.
    CSharedMemory unguarded;
    const std::string name = "KVT_TEST_NOMUTEX_" + std::to_string(::GetCurrentProcessId());
    ASSERT_EQ(unguarded.MallocSharedMemory(4, name.c_str(), nullptr), 1);
    kvt::BlockAccess noLock(unguarded);
    EXPECT_FALSE(noLock.Valid());
    EXPECT_FALSE(noLock.Write(word));
}
