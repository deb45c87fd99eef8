// Commits: what reaches ./KvtDll.log, in which order and form, and what is lost
// (never overrun, never a crash) when the text or the file does not cooperate.
#include <gtest/gtest.h>

#include <string>

#include "log/LogTestSupport.h"

namespace {
std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}
}  // namespace

TEST_F(LogFileTest, CommitsAppendInOrderWithCrLf) {
    kvtlog::Line(Stream(), "[VALU] first");
    kvtlog::Line(Stream(), "[VALU] second");
    kvtlog::CommitLog(Stream());
    kvtlog::Line(Stream(), "[VALU] third");
    kvtlog::CommitLog(Stream());

    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[VALU] first", "[VALU] second",
                                                     "[VALU] third"}));
    const std::string text = FileText();
    EXPECT_EQ(Count(text, "\r\n"), 3u);
    EXPECT_EQ(Count(text, "\n"), 3u) << "every line feed became CR LF";
    EXPECT_EQ(kvtlog::StagedByteCount(), 0u);
}

TEST_F(LogFileTest, EmptyCommitAppendsNothing) {
    kvtlog::Line(Stream(), "[VALU] once");
    kvtlog::CommitLog(Stream());
    const std::string before = FileText();
    kvtlog::CommitLog(Stream());
    kvtlog::CommitLog(Stream());
    EXPECT_EQ(FileText(), before);
}

// A log file that cannot be opened loses that commit's text, silently; the next
// commit that can open it appends only its own text.
TEST_F(LogFileTest, UnopenableLogFileLosesThatTextOnly) {
    ASSERT_TRUE(::CreateDirectoryA(LogPath().c_str(), nullptr));
    kvtlog::Line(Stream(), "[VALU] lost");
    kvtlog::CommitLog(Stream());
    EXPECT_EQ(Stream().Length(), 0u);
    EXPECT_GT(kvtlog::StagedByteCount(), 0u) << "the fill count keeps the unwritten bytes";
    ASSERT_TRUE(::RemoveDirectoryA(LogPath().c_str()));

    kvtlog::Line(Stream(), "[VALU] kept");
    kvtlog::CommitLog(Stream());
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[VALU] kept"}));
    EXPECT_EQ(kvtlog::StagedByteCount(), 0u);
}

// The stream holds 2,047,999 bytes between commits; the rest is dropped, the buffer
// is never overrun, and after the commit the stream works as before.
TEST_F(LogFileTest, TextBeyondTheStreamBufferIsDropped) {
    const std::size_t capacity = kvtlog::kLogBufferSize - 1;
    Stream() << std::string(capacity + 1000, 'x');
    EXPECT_TRUE(Stream().good());
    EXPECT_EQ(Stream().Length(), capacity);
    EXPECT_EQ(Stream().Dropped(), 1000u);
    EXPECT_EQ(Stream().Text()[capacity], '\0');
    kvtlog::CommitLog(Stream());
    EXPECT_EQ(Stream().Dropped(), 0u);

    // What was kept, then a line that counts what was dropped.
    kvtlog::Line(Stream(), "[VALU] after");
    kvtlog::CommitLog(Stream());
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(capacity, 'x'));
    EXPECT_EQ(lines[1], "[ERR!] - [VALU] LogStream - 1000 bytes dropped");
    EXPECT_EQ(lines[2], "[VALU] after");
}

// A null text sets the stream's failure state; the next commit clears it, so the
// component's later lines are not lost.
TEST_F(LogFileTest, AFailedInsertionDoesNotSilenceTheStream) {
    Stream() << static_cast<const char*>(nullptr);
    EXPECT_FALSE(Stream().good());
    kvtlog::CommitLog(Stream());
    kvtlog::Line(Stream(), "[VALU] still written");
    kvtlog::CommitLog(Stream());
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[VALU] still written"}));
}

// Before load and after unload a library has no staging buffer: commits discard.
TEST_F(LogFileTest, WithoutStagingBufferCommitsAreDiscarded) {
    kvtlog::StopLogStaging();
    EXPECT_FALSE(kvtlog::HasLogStaging());
    kvtlog::Line(Stream(), "[VALU] discarded");
    kvtlog::CommitLog(Stream());
    EXPECT_EQ(Stream().Length(), 0u) << "the stream is emptied all the same";
    EXPECT_EQ(FileText(), "");

    kvtlog::StartLogStaging();
    kvtlog::Line(Stream(), "[VALU] staged again");
    kvtlog::CommitLog(Stream());
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[VALU] staged again"}));
}
