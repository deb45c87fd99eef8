// The path exports: the file and folder path blocks as another module of the same
// logon sees them (the driver opens them by name, as the plug-in does).
#include <gtest/gtest.h>

#include "propfiles/PropFilesFolder.h"

namespace {

using propfilestest::Folder;
using propfilestest::Outcome;

// "<first zero> <nonzero bytes after it> <text>" of a block holding `text`.
std::string Holds(const std::string& text) {
    return std::to_string(text.size()) + " 0 " + text;
}

TEST(PathExports, TheFilePathIsPublishedWithoutAnOpenDevice) {
    const Folder folder("path-file");
    const Outcome run = folder.Execute({"block|FILE", "setfile|(chars:261)", "block|FILE|refused",
                                    "setfile|C:\\Adjust\\gain.dat", "block|FILE|set",
                                    "setfile|(null)", "setfile|(chars:300)", "delfile",
                                    "block|FILE|deleted"});
    // A refused path creates no block.
    EXPECT_EQ(run.Text("block|FILE"), "(none)");
    EXPECT_EQ(run.Code("setfile|(chars:261)"), 3u);
    EXPECT_EQ(run.Text("block|FILE|refused"), "(none)");

    EXPECT_EQ(run.Code("setfile|C:\\Adjust\\gain.dat"), 0u);
    EXPECT_EQ(run.Text("block|FILE|set"), Holds("C:\\Adjust\\gain.dat"));
    EXPECT_EQ(run.Code("setfile|(null)"), 3u);
    EXPECT_EQ(run.Code("setfile|(chars:300)"), 3u);
    EXPECT_EQ(run.Code("delfile"), 0u);
    EXPECT_EQ(run.Text("block|FILE|deleted"), Holds("C:\\Adjust\\gain.dat"));

    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] strlen(pszFilePath)"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] pszFilePath"));
    const int set = run.LogIndex("[FUNC] KVT_SetFilePath");
    ASSERT_GE(set, 1);
    EXPECT_EQ(run.log[set - 1], "[----]");
    const int line = run.LogIndex("[VALU] pszFilePath C:\\Adjust\\gain.dat", set);
    ASSERT_GT(line, set);
    EXPECT_EQ(run.log[line + 1], "[FUNC] KVT_SetFilePath - 0");
    const int deleted = run.LogIndex("[FUNC] KVT_DeleteFilePath");
    ASSERT_GE(deleted, 0);
    EXPECT_EQ(run.log[deleted + 1], "[FUNC] KVT_DeleteFilePath - 0");
}

// 260 characters fill the 261 bytes with the zero; a shorter path afterwards leaves no
// trail of the longer one; refused paths leave the block as it was.
TEST(PathExports, TheFolderBlockTakesUpTo260CharactersAndStaysAfterDelete) {
    const Folder folder("path-folder");
    const std::string full(260, 'x');
    const Outcome run = folder.Execute(
        {"open", "setfolder|(chars:260)", "block|FOLDER|full", "setfolder|(chars:261)",
         "setfolder|(null)", "block|FOLDER|refused", "setfolder|D:\\Adjust\\Data",
         "block|FOLDER|short", "delfolder", "block|FOLDER|deleted"});
    ASSERT_EQ(run.Code("open"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("setfolder|(chars:260)"), 0u);
    EXPECT_EQ(run.Text("block|FOLDER|full"), Holds(full));
    EXPECT_EQ(run.Code("setfolder|(chars:261)"), 3u);
    EXPECT_EQ(run.Code("setfolder|(null)"), 3u);
    EXPECT_EQ(run.Text("block|FOLDER|refused"), Holds(full));
    EXPECT_EQ(run.Code("setfolder|D:\\Adjust\\Data"), 0u);
    EXPECT_EQ(run.Text("block|FOLDER|short"), Holds("D:\\Adjust\\Data"));
    EXPECT_EQ(run.Code("delfolder"), 0u);
    EXPECT_EQ(run.Text("block|FOLDER|deleted"), Holds("D:\\Adjust\\Data"));

    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] strlen(pszFolderPath)"));
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] pszFolderPath"));
    EXPECT_TRUE(run.HasLog("[VALU] pszFolderPath D:\\Adjust\\Data"));
    EXPECT_TRUE(run.HasLog("[FUNC] KVT_SetFolderPath - 3"));
    const int deleted = run.LogIndex("[FUNC] KVT_DeleteFolderPath");
    ASSERT_GE(deleted, 1);
    EXPECT_EQ(run.log[deleted - 1], "[----]");
    EXPECT_EQ(run.log[deleted + 1], "[FUNC] KVT_DeleteFolderPath - 0");
}

// A block object without a block would take no path and report success: refused with
// code 5, every time, and no path is reported as published.
TEST(PathExports, ABlockThatCannotBeCreatedIsRefused) {
    const Folder folder("path-squat");
    const Outcome run = folder.Execute({"squat|SHARED_NAME_FOLDER", "setfolder|D:\\Adjust\\Data",
                                        "setfolder|D:\\Adjust\\Data|again"});
    ASSERT_EQ(run.Code("squat|SHARED_NAME_FOLDER"), 0u) << run.process.out;
    EXPECT_EQ(run.Code("setfolder|D:\\Adjust\\Data"), 5u);
    EXPECT_EQ(run.Code("setfolder|D:\\Adjust\\Data|again"), 5u);
    EXPECT_TRUE(run.HasLog("[ERR!] - [VALU] m_pFolderSharedMemory"));
    EXPECT_FALSE(run.HasLog("[VALU] pszFolderPath D:\\Adjust\\Data"));
}

}  // namespace
