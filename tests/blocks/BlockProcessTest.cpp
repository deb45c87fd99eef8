// Named blocks shared by real processes: the test and block_child.exe.
#include <gtest/gtest.h>

#include <string>

#include "common/Handles.h"
#include "common/SharedMemory.h"
#include "support/ProcessStart.h"
#include "support/TestSupport.h"

namespace {

std::string Child(const std::string& args) {
    kvttest::ProcessResult r = kvttest::RunProcess(
        "\"" + kvttest::BinDir() + "block_child.exe\" " + args, kvttest::CurrentDir(),
        std::string(), 30000);
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.timedOut) << "block_child " << args << " did not finish";
    // Corvane's load writes its timer lines to standard output first: the answer is
    // the last line.
    std::string out = r.out;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
        out.pop_back();
    }
    return out.substr(out.find_last_of('\n') + 1);
}

// A child that keeps running: started, its answer line read, killed at the end.
class HeldChild {
public:
    explicit HeldChild(const std::string& args) {
        kvt::UniqueKernelHandle read, write;
        kvttest::CreateChildPipe(read, write);
        _child = kvttest::StartProcess("\"" + kvttest::BinDir() + "block_child.exe\" " + args,
                                       kvttest::CurrentDir(),
                                       {::GetStdHandle(STD_INPUT_HANDLE), write.Get(), write.Get()});
        write.Reset();
        // Corvane's timer lines come first; wait for the child's own answer.
        std::string line;
        char c = 0;
        DWORD n = 0;
        while (::ReadFile(read.Get(), &c, 1, &n, nullptr) && n == 1) {
            if (c == '\r') {
                continue;
            }
            if (c != '\n') {
                line += c;
            } else if (line == "locked" || line == "fail") {
                _answer = line;
                break;
            } else {
                line.clear();
            }
        }
    }
    ~HeldChild() { Kill(); }
    const std::string& Answer() const { return _answer; }
    void Kill() { _child.KillTree(9); }

private:
    kvttest::StartedProcess _child;
    std::string _answer;
};

}  // namespace

TEST(BlocksAcrossProcesses, ContentIsSharedWhileHeldAndZeroAfterLastRelease) {
    {
        CCameraHandleSharedMemory held;
        unsigned long value = 0x0BADF00Dul;
        ASSERT_TRUE(held.Set(&value));
        EXPECT_EQ(Child("get-camera"), "ok 0x0badf00d");

        EXPECT_EQ(Child("set-camera 0x5a5a0001"), "ok 0x5a5a0001");
        unsigned long seen = 0;
        ASSERT_TRUE(held.Get(&seen));
        EXPECT_EQ(seen, 0x5A5A0001ul) << "Set in another process, Get here";
    }
    EXPECT_EQ(Child("get-camera"), "ok 0x00000000") << "the last holder is gone";
}

TEST(BlocksAcrossProcesses, ModuleHandleTravelsBetweenProcesses) {
    CKVTItoPTPSharedMemory held;
    EXPECT_EQ(Child("set-kvti 0x13000000"), "ok 0x13000000");
    HINSTANCE seen = nullptr;
    ASSERT_TRUE(held.Get(&seen));
    EXPECT_EQ(kvt::ModuleHandleToWord(seen), 0x13000000u);
    EXPECT_EQ(Child("get-kvti"), "ok 0x13000000");
}

// The mutex of a process that dies while holding it is abandoned; the next user owns
// it and goes on instead of waiting forever.
TEST(BlocksAcrossProcesses, HolderKilledWhileLockedDoesNotBlockTheNextUser) {
    CCameraHandleSharedMemory held;
    HeldChild holder("hold-locked 0x00c0ffee");
    ASSERT_EQ(holder.Answer(), "locked");
    holder.Kill();

    EXPECT_EQ(Child("get-camera"), "ok 0x00c0ffee");
    unsigned long value = 0x1234ul;
    EXPECT_TRUE(held.Set(&value));
    EXPECT_EQ(Child("get-camera"), "ok 0x00001234");
}
