// The fast log's batch, through the test program's own log writer: text committed in
// an operation waits until the outermost operation ends, text outside any operation is
// written at once, a full batch is written early without losing or reordering text,
// and a file that cannot be opened loses only the text of that write.
#include <string>

#include "common/LogBatch.h"
#include "common/LogFrame.h"
#include "log/LogTestSupport.h"

namespace {

class LogBatchTest : public LogFileTest {
protected:
    void SetUp() override {
        ::SetEnvironmentVariableA("KVT_FAST_LOG", "1");
        kvtlog::StopLogStaging();
        LogFileTest::SetUp();
        ASSERT_TRUE(kvtlog::InLogBatch());
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("KVT_FAST_LOG", nullptr);
        kvtlog::StopLogStaging();
        EXPECT_FALSE(kvtlog::InLogBatch());
        LogFileTest::TearDown();   // the default mode again
        EXPECT_FALSE(kvtlog::InLogBatch());
    }
    void Commit(const std::string& line) {
        kvtlog::Line(Stream(), line);
        kvtlog::CommitLog(Stream());
    }
};

TEST_F(LogBatchTest, OperationTextWaitsForTheOutermostOperation) {
    Commit("[VALU] outside");
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[VALU] outside"})) << "written at once";
    {
        const kvtlog::LogOperation outer;
        Commit("[VALU] outer 1");
        {
            const kvtlog::LogOperation inner;
            Commit("[VALU] inner");
        }
        Commit("[VALU] outer 2");
        EXPECT_EQ(FileLines().size(), 1u) << "written before the operation ended";
    }
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[VALU] outside", "[VALU] outer 1",
                                                     "[VALU] inner", "[VALU] outer 2"}));
    EXPECT_EQ(FileText().find("\r\n\r\n"), std::string::npos);
    EXPECT_EQ(kvtlog::StagedByteCount(), 0u);
}

// The frames are operations: a boundary frame's lines arrive with its exit line, a
// failure's lines included.
TEST_F(LogBatchTest, BoundaryFrameIsOneWrite) {
    const unsigned long result = kvtlog::RunFrame(Stream(), {"[FUNC] Op"}, [&] {
        Commit("[VALU] body");
        EXPECT_TRUE(FileText().empty());
        kvt::Fail("[VALU] failed", 35);
    });
    EXPECT_EQ(result, 35u);
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[----]", "[FUNC] Op", "[VALU] body",
                                                     "[ERR!] - [VALU] failed", "[FUNC] Op - 35"}));
}

// More than the batch holds in one operation: written early, in order, nothing lost.
TEST_F(LogBatchTest, FullBatchIsWrittenEarlyInOrder) {
    const std::string big(1500000, 'x');
    {
        const kvtlog::LogOperation operation;
        for (char tag : {'a', 'b', 'c'}) {
            Commit(std::string("[VALU] ") + tag + big);
        }
        EXPECT_FALSE(FileText().empty()) << "the full batch was not written";
    }
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "[VALU] a" + big);
    EXPECT_EQ(lines[1], "[VALU] b" + big);
    EXPECT_EQ(lines[2], "[VALU] c" + big);
}

// The file cannot be opened when an operation ends: its text is lost, and the next
// operation's text is written, without the lost text.
TEST_F(LogBatchTest, UnopenableFileLosesThatOperationOnly) {
    ASSERT_TRUE(::CreateDirectoryA(LogPath().c_str(), nullptr));
    {
        const kvtlog::LogOperation operation;
        Commit("[VALU] lost");
    }
    ASSERT_TRUE(::RemoveDirectoryA(LogPath().c_str()));
    {
        const kvtlog::LogOperation operation;
        Commit("[VALU] kept");
    }
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[VALU] kept"}));
}

// Unload writes what an unfinished operation committed.
TEST_F(LogBatchTest, ShutDownWritesWhatWaits) {
    auto* operation = new kvtlog::LogOperation;
    Commit("[VALU] waiting");
    EXPECT_TRUE(FileText().empty());
    kvtlog::StopLogStaging();
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[VALU] waiting"}));
    delete operation;   // after the batch is left: nothing more to write, no failure
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[VALU] waiting"}));
}

}  // namespace
