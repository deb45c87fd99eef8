// Writing, clearing and closing in one process; the send-buffer thread; unknown ids
// and the console control handler.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "channel/ChannelFixture.h"
#include "core/channel/ComLib.h"
#include "core/channel/ComLibReader.h"
#include "core/channel/ComLibRecord.h"

using chtest::InfoProbe;
using chtest::MessageCapture;
using chtest::ProgressCapture;
using chtest::RawMapping;
using chtest::UniqueName;

namespace {

constexpr unsigned long kSize = 16;

bool AreaIs(const RawMapping& area, unsigned char value) {
    for (unsigned long i = 0; i < kSize; ++i) {
        if (area.Bytes()[i] != value) {
            return false;
        }
    }
    return true;
}

// One channel opened here, with a raw view of its data area and information block.
class OpenChannel : public ::testing::Test {
protected:
    void SetUp() override {
        _name = UniqueName("w");
        _id = ComLibOpen(_name.c_str(), kSize, 0, 0, 0);
        ASSERT_NE(_id, nullptr);
        _area = std::make_unique<RawMapping>(_name);
        _info = std::make_unique<InfoProbe>(_name);
        ASSERT_TRUE(_area->Valid());
        ASSERT_TRUE(_info->Valid());
        std::memset(_area->Bytes(), 0x11, kSize);
    }
    void TearDown() override {
        if (_id != nullptr && comlib::FindOpen(_id) != nullptr) {
            ComLibClose(_id, 0);
        }
    }

    std::string _name;
    HANDLE _id = nullptr;
    std::unique_ptr<RawMapping> _area;
    std::unique_ptr<InfoProbe> _info;
};

}  // namespace

TEST_F(OpenChannel, WritesAreRefusedAndTheAreaKeepsItsContent) {
    const std::vector<unsigned char> block(kSize + 1, 0x22);
    struct Case {
        const char* label;
        LONG openers;
        LONG hold;
        const void* data;
        unsigned long size;
    };
    const Case cases[] = {
        {"only one opener", 1, 0, block.data(), kSize},
        {"hold word set", 2, 1, block.data(), kSize},
        {"null data", 2, 0, nullptr, kSize},
        {"one byte short", 2, 0, block.data(), kSize - 1},
        {"one byte long", 2, 0, block.data(), kSize + 1},
    };
    for (const Case& c : cases) {
        _info->SetWord(5, c.openers);  // a second opener stands in for a reading end
        _info->SetWord(0, c.hold);
        const LONG count = _info->WriteCount();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(ComLibWrite(_id, c.data, c.size), 0) << c.label;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000))
            << c.label << ": refused at once, no wait";
        EXPECT_TRUE(AreaIs(*_area, 0x11)) << c.label;
        EXPECT_EQ(_info->WriteCount(), count) << c.label;
        EXPECT_EQ(_info->Writing(), 0) << c.label;
    }
    _info->SetWord(5, 1);
    _info->SetWord(0, 0);
}

TEST_F(OpenChannel, CloseClearsTheAreaOnlyWithTheClearOption) {
    const LONG count = _info->WriteCount();
    {
        ProgressCapture progress;
        EXPECT_EQ(ComLibClose(_id, 1), 1);
        EXPECT_EQ(progress.Lines(),
                  std::vector<std::string>{"[ComLIB] >> CLOSED SMEMORY [NAME:" + _name + "]"});
    }
    EXPECT_TRUE(AreaIs(*_area, 0x00));
    EXPECT_EQ(_info->WriteCount(), count + 1);
    EXPECT_EQ(_info->Openers(), 0);

    HANDLE again = ComLibOpen(_name.c_str(), kSize, 0, 0, 0);
    ASSERT_NE(again, nullptr);
    std::memset(_area->Bytes(), 0x33, kSize);
    EXPECT_EQ(ComLibClose(again, 0), 1);
    EXPECT_TRUE(AreaIs(*_area, 0x33)) << "closed without clearing";
    EXPECT_EQ(_info->WriteCount(), count + 1);
}

TEST_F(OpenChannel, ClearOptionOfAnOpenZeroesTheAreaAndSetsTheDataEvent) {
    const LONG count = _info->WriteCount();
    ASSERT_EQ(ComLibClose(_id, 0), 1);
    std::memset(_area->Bytes(), 0x44, kSize);
    _id = ComLibOpen(_name.c_str(), kSize, 1, 0, 0);
    ASSERT_NE(_id, nullptr);
    EXPECT_TRUE(AreaIs(*_area, 0x00));
    EXPECT_EQ(_info->WriteCount(), count + 1);
    EXPECT_EQ(::WaitForSingleObject(ComLibDataEvent(_id), 0), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST(ComLibIds, UnknownIdGivesTheMessageAndFails) {
    const std::string name = UniqueName("gone");
    HANDLE closed = ComLibOpen(name.c_str(), kSize, 0, 0, 0);
    ASSERT_NE(closed, nullptr);
    ASSERT_EQ(ComLibClose(closed, 0), 1);
    unsigned char block[kSize] = {};
    struct Case {
        const char* label;
        HANDLE id;
    };
    const Case cases[] = {
        {"never opened", reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(0x7770))},
        {"0, the result of a failed open", nullptr},
        {"a closed channel", closed},
    };
    for (const Case& c : cases) {
        MessageCapture messages;
        EXPECT_EQ(ComLibWrite(c.id, block, kSize), 0) << c.label;
        EXPECT_EQ(ComLibClose(c.id, 0), 0) << c.label;
        ASSERT_EQ(messages.Messages().size(), 2u) << c.label;
        for (const chtest::SeamMessage& m : messages.Messages()) {
            EXPECT_EQ(m.text, chtest::NotCreatedBytes()) << c.label;
            EXPECT_FALSE(m.hasCaption) << c.label;
        }
    }
}

TEST(ComLibCtrlHandler, CtrlCAndCtrlBreakAreHandledOtherEventsAreNot) {
    EXPECT_EQ(ComLibCtrlHandler(CTRL_C_EVENT), TRUE);
    EXPECT_EQ(ComLibCtrlHandler(CTRL_BREAK_EVENT), TRUE);
    EXPECT_EQ(ComLibCtrlHandler(3), FALSE);
    EXPECT_EQ(ComLibCtrlHandler(99), FALSE);
}

// The send-buffer thread copies queued blocks into the area, counts them and lowers
// the pending word; a block equal to the area is dropped without stalling the queue.
TEST(ComLibSendThread, CopiesQueuedBlocksAndDropsDuplicates) {
    const std::string name = UniqueName("send");
    ProgressCapture progress;
    HANDLE id = ComLibOpen(name.c_str(), kSize, 0, 1, 0);
    ASSERT_NE(id, nullptr);
    comlib::ChannelRecord* record = comlib::FindOpen(id);
    RawMapping area(name);
    InfoProbe info(name);
    info.SetWord(4, 2);  // pending, as a producer elsewhere would count it
    HANDLE dataEvent = ComLibDataEvent(id);

    auto queueAndWait = [&](unsigned char value) {
        ::ResetEvent(dataEvent);
        const std::vector<unsigned char> block(kSize, value);
        EXPECT_EQ(ComLibQueueSend(id, block.data(), kSize), 1);
        for (int i = 0; i < 200; ++i) {
            {
                comlib::QueueGuard guard(record->sendQueue.lock);
                if (record->sendQueue.blocks.empty()) {
                    return;
                }
            }
            ::Sleep(10);
        }
        ADD_FAILURE() << "the send thread did not take block " << int(value);
    };
    const LONG count = info.WriteCount();
    queueAndWait(0xA1);
    EXPECT_EQ(::WaitForSingleObject(dataEvent, 2000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(AreaIs(area, 0xA1));
    EXPECT_EQ(info.WriteCount(), count + 1);
    EXPECT_EQ(info.Pending(), 1);
    EXPECT_EQ(record->sentCount, 1u);

    queueAndWait(0xA1);  // equal to the area: dropped, not counted
    EXPECT_EQ(info.WriteCount(), count + 1);
    EXPECT_EQ(info.Pending(), 1);
    queueAndWait(0xB2);
    EXPECT_EQ(::WaitForSingleObject(dataEvent, 2000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(AreaIs(area, 0xB2));
    EXPECT_EQ(info.WriteCount(), count + 2);
    EXPECT_EQ(info.Pending(), 0);

    const std::vector<unsigned char> shortBlock(kSize - 1, 0);
    EXPECT_EQ(ComLibQueueSend(id, shortBlock.data(), kSize - 1), 0);
    EXPECT_EQ(ComLibClose(id, 0), 1);

    const std::vector<std::string> lines = progress.Lines();
    const std::string tail = " BUFFER THREAD [NAME:" + name + "]";
    auto at = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    const auto created = at("[ComLIB] >> CREATE SEND" + tail);
    const auto started = at("[ComLIB] >> START SEND" + tail);
    const auto ended = at("[ComLIB] >> END SEND" + tail);
    const auto closed = at("[ComLIB] >> CLOSED SMEMORY [NAME:" + name + "]");
    EXPECT_LT(created, started);
    EXPECT_LT(started, ended);
    EXPECT_LT(ended, closed);
    EXPECT_LT(closed, static_cast<long>(lines.size())) << progress.Text();
}

// Blocks queued faster than the thread runs are all sent: the thread's event holds one
// signal however many blocks wait behind it.
TEST(ComLibSendThread, SendsEveryBlockQueuedInABurst) {
    const std::string name = UniqueName("burst");
    HANDLE id = ComLibOpen(name.c_str(), kSize, 0, 1, 0);
    ASSERT_NE(id, nullptr);
    comlib::ChannelRecord* record = comlib::FindOpen(id);
    RawMapping area(name);
    InfoProbe info(name);
    const LONG count = info.WriteCount();
    const unsigned char values[] = {0x11, 0x22, 0x33, 0x44, 0x55};
    for (unsigned char value : values) {
        const std::vector<unsigned char> block(kSize, value);
        EXPECT_EQ(ComLibQueueSend(id, block.data(), kSize), 1);
    }
    bool empty = false;
    for (int i = 0; i < 300 && !empty; ++i) {
        {
            comlib::QueueGuard guard(record->sendQueue.lock);
            empty = record->sendQueue.blocks.empty();
        }
        if (!empty) {
            ::Sleep(10);
        }
    }
    EXPECT_TRUE(empty) << "blocks were left in the queue";
    EXPECT_EQ(info.WriteCount(), count + 5);
    EXPECT_TRUE(AreaIs(area, 0x55));
    EXPECT_EQ(ComLibClose(id, 0), 1);
}
