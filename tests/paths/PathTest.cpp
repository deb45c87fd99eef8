// CFilePath in a child process whose Corvane.dll was copied to a temporary folder, so
// the common folder is that folder. Each child runs in a fresh working folder of its
// own, where its KvtDll.log goes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "common/FilePath.h"
#include "common/SharedMemory.h"
#include "support/TestSupport.h"

// A copy would share, and free twice, the implementation object.
static_assert(!std::is_copy_constructible_v<CFilePath> && !std::is_copy_assignable_v<CFilePath>,
              "CFilePath is not copied");

namespace {

struct ChildRun {
    std::vector<std::string> answers;  // "=<result>" or "!<code> <message>", one per op
    std::string workDir;
    std::vector<std::string> Log() const {
        return kvttest::ReadLogLines(workDir + "KvtDll.log");
    }
};

std::string Ok(const std::string& result) { return "=" + result; }

class PathTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_common = kvttest::MakeFreshDir("paths");
        ASSERT_FALSE(s_common.empty());
        ASSERT_TRUE(kvttest::CopyFileTo(kvttest::BinDir() + "path_child.exe",
                                        s_common + "path_child.exe"));
        ASSERT_TRUE(kvttest::CopyFileTo(kvttest::BinDir() + "Corvane.dll",
                                        s_common + "Corvane.dll"));
        ASSERT_TRUE(::CreateDirectoryA((s_common + "_Q517_").c_str(), nullptr));
    }

    static void TearDownTestSuite() { kvttest::RemoveTree(s_common); }
    void TearDown() override {
        for (const std::string& dir : _workDirs) {
            kvttest::RemoveTree(dir);
        }
    }

    ChildRun Run(const std::vector<std::string>& ops) {
        ChildRun run;
        run.workDir = kvttest::MakeFreshDir("run");
        _workDirs.push_back(run.workDir);
        std::string cmd = "\"" + s_common + "path_child.exe\"";
        for (const std::string& op : ops) {
            cmd += " \"" + op + "\"";
        }
        kvttest::ProcessResult r = kvttest::RunProcess(cmd, run.workDir);
        EXPECT_TRUE(r.started);
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        std::size_t at = 0;
        for (const std::string& op : ops) {
            const std::string head = "> " + op;
            at = r.out.find(head, at);
            if (at == std::string::npos) {
                ADD_FAILURE() << "no answer for " << op << " in:\n" << r.out;
                run.answers.push_back("?");
                at = 0;
                continue;
            }
            const std::size_t end = r.out.find('\n', at);
            std::string answer = r.out.substr(at + head.size(), end - at - head.size());
            if (!answer.empty() && answer.back() == '\r') {
                answer.pop_back();
            }
            run.answers.push_back(answer);
            at = end;
        }
        return run;
    }

    static std::string s_common;  // the common folder, with its backslash
    std::vector<std::string> _workDirs;
};

std::string PathTest::s_common;

// The model identifier is published as the factory API library does at its load.
class PathWithModelTest : public PathTest {
protected:
    void SetUp() override {
        PathTest::SetUp();
        _model.reset(new CModelIDSharedMemory);
        ASSERT_TRUE(kvt::BlockAccess(*_model).Write(std::uint32_t{0x80000517u}));
    }
    std::unique_ptr<CModelIDSharedMemory> _model;
};

}  // namespace

TEST_F(PathWithModelTest, FoldersDeriveFromTheCommonModuleAndModel) {
    const std::string model = s_common + "_Q517_\\";
    const struct {
        const char* op;
        std::string expected;
    } cases[] = {
        {"parser", Ok(s_common)},
        {"common", Ok(model)},
        {"property", Ok(model + "Property\\")},
        {"property:Adjust.ini", Ok(model + "Property\\Adjust.ini")},
        {"plugin", Ok(model + "PlugIn\\")},
        {"compiler", Ok(model + "Compiler\\")},
        {"compiler:Table.bin", Ok(model + "Compiler\\Table.bin")},
        {"lastpath", Ok("")},
        {"fullpath:KVTItoPTP.dll", Ok(s_common + "KVTItoPTP.dll")},
        {"lastpath", Ok(s_common + "KVTItoPTP.dll")},
    };
    std::vector<std::string> ops;
    for (const auto& c : cases) {
        ops.push_back(c.op);
    }
    const ChildRun run = Run(ops);
    for (std::size_t i = 0; i < ops.size(); ++i) {
        EXPECT_EQ(run.answers[i], cases[i].expected) << ops[i];
    }
}

TEST_F(PathWithModelTest, GetFullPathFailureIsEmptyAndSilent) {
    // The failing create commits the class's log stream: a line GetFullPath had left
    // in it would reach the file then.
    const ChildRun run = Run({"fullpath:a.txt", "fullpath:", "lastpath", "logcount:[ERR!]",
                              "create:", "logcount:FileName"});
    EXPECT_EQ(run.answers[0], Ok(s_common + "a.txt"));
    EXPECT_EQ(run.answers[1], Ok(""));
    EXPECT_EQ(run.answers[2], Ok("")) << "a failure empties the last full path";
    EXPECT_EQ(run.answers[3], Ok("0"));
    EXPECT_EQ(run.answers[4], "!3 [FUNC] CFilePath::CreateDirectory");
    EXPECT_EQ(run.answers[5], Ok("0"));
}

// The model folder is "_Q" and the identifier's low 16 bits in lower-case hexadecimal
// without leading zeros.
TEST_F(PathTest, ModelFolderIsTheLowHalfInLowerCaseHex) {
    const struct {
        std::uint32_t model;
        const char* folder;
    } cases[] = {
        {0x80000517u, "_Q517_"},
        {0x8000ABCDu, "_Qabcd_"},
        {0x80000017u, "_Q17_"},
        {0x1234F00Du, "_Qf00d_"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        CModelIDSharedMemory model;
        ASSERT_TRUE(kvt::BlockAccess(model).Write(c.model));
        const ChildRun run = Run({"common", "plugin"});
        EXPECT_EQ(run.answers[0], Ok(s_common + c.folder + "\\"));
        EXPECT_EQ(run.answers[1], Ok(s_common + c.folder + "\\PlugIn\\"));
    }
}

// Without the core library's handle in "SHARED_NAME_HANDLE" there is no common folder:
// the constructor refuses (35).
TEST_F(PathTest, NoPublishedCoreHandleRefusesTheConstruction) {
    const ChildRun run = Run({"nohandle", "parser"});
    EXPECT_EQ(run.answers[0], "!35 [VALU] _pImpl->_hCommonModule");
    EXPECT_EQ(run.answers[1], Ok(s_common)) << "the handle was put back";
}

// 260 characters fit a MAX_PATH buffer with its zero; 261 do not. GetFullPath gives
// "", the other members fail with code 3 and "[VALU] FullPath.length()".
TEST_F(PathWithModelTest, JoinedPathLongerThan260IsRefused) {
    const std::size_t room = 260 - s_common.size();
    const std::string fits(room, 'f');
    const std::string tooLong(room + 1, 'l');
    const std::string model = s_common + "_Q517_\\Compiler\\";
    const std::string compilerTooLong(260 - model.size() + 1, 'c');
    const ChildRun run = Run({"fullpath:" + fits, "fullpath:" + tooLong,
                              "compiler:" + compilerTooLong, "property:" + tooLong,
                              "logcount:FullPath.length()", "create:" + tooLong,
                              "logcount:FullPath.length()"});
    EXPECT_EQ(run.answers[0], Ok(s_common + fits));
    EXPECT_EQ(run.answers[1], Ok(""));
    EXPECT_EQ(run.answers[2], "!3 [FUNC] CFilePath::GetCompilerFullPath");
    EXPECT_EQ(run.answers[3], "!3 [FUNC] CFilePath::GetPropertyFullPath");
    EXPECT_EQ(run.answers[4], Ok("0")) << "the getters leave their line to the next commit";
    EXPECT_EQ(run.answers[5], "!3 [FUNC] CFilePath::CreateDirectory");
    EXPECT_EQ(run.answers[6], Ok("3"));
    EXPECT_FALSE(kvttest::DirExists(s_common + tooLong));
}

TEST_F(PathWithModelTest, CreateDirectoryTakesOnlyFullyAbsoluteNamesUnchanged) {
    const std::string drive = s_common.substr(0, 2);  // "Z:"
    ASSERT_EQ(drive[1], ':');
    const std::string absolute = s_common + "absolute";
    const ChildRun run = Run({"create:" + absolute, "create:relative", "create:\\rooted",
                              "create:relative", "create:" + drive + "drive"});
    EXPECT_EQ(run.answers[0], Ok(absolute));
    EXPECT_TRUE(kvttest::DirExists(absolute));
    EXPECT_EQ(run.answers[1], Ok(s_common + "relative"));
    EXPECT_TRUE(kvttest::DirExists(s_common + "relative"));
    EXPECT_EQ(run.answers[2], Ok(s_common + "\\rooted"));
    EXPECT_TRUE(kvttest::DirExists(s_common + "rooted"));
    EXPECT_EQ(run.answers[3], Ok(s_common + "relative")) << "an existing folder is fine";
    // Drive-qualified only: appended to the common folder, where the colon makes the
    // name invalid; never created relative to the drive's current folder.
    EXPECT_NE(run.answers[4], Ok(drive + "drive"));
    EXPECT_FALSE(kvttest::DirExists(run.workDir + "drive"));
    EXPECT_FALSE(kvttest::DirExists(s_common + "drive"));
}

TEST_F(PathWithModelTest, CreateDirectoryFailuresAreLoggedAndCommitted) {
    ASSERT_TRUE(kvttest::WriteFileBytes(s_common + "a_file", "x"));
    const ChildRun run = Run({"create:", "create:a_file", "create:missing\\child"});
    EXPECT_EQ(run.answers[0], "!3 [FUNC] CFilePath::CreateDirectory");
    EXPECT_EQ(run.answers[1], "!33 [FUNC] CFilePath::CreateDirectory");
    EXPECT_EQ(run.answers[2], "!33 [FUNC] CFilePath::CreateDirectory");
    const auto log = run.Log();
    const int empty = kvttest::FindLine(log, "[ERR!] - [VALU] DirectoryName.length()");
    EXPECT_GE(empty, 0);
    const int fileInTheWay = kvttest::FindLine(log, "[ERR!] UnExpected Exception", empty);
    EXPECT_GT(fileInTheWay, empty);
    EXPECT_GT(kvttest::FindLine(log, "[ERR!] UnExpected Exception", fileInTheWay + 1),
              fileInTheWay);
}

TEST_F(PathWithModelTest, ModelFoldersAreCreatedOneLevelDeep) {
    const std::string model = s_common + "_Q517_\\";
    const ChildRun run = Run({"commondir:Property", "debugdata", "commondir:no\\parent"});
    EXPECT_EQ(run.answers[0], Ok(model + "Property\\"));
    EXPECT_TRUE(kvttest::DirExists(model + "Property"));
    EXPECT_EQ(run.answers[1], Ok(model + "_DebugData\\"));
    EXPECT_TRUE(kvttest::DirExists(model + "_DebugData"));
    EXPECT_EQ(run.answers[2], "!33 [FUNC] CFilePath::CreateCommonDirectory");
}

// No model identifier published: the getters fail with 35 and log their lines without
// committing them; they reach the file with the next commit of the class's stream.
TEST_F(PathTest, MissingModelIdentifierIsLoggedAtTheNextCommit) {
    const ChildRun run =
        Run({"modelblock", "common", "property:x", "logcount:[VALU] ModelID", "create:",
             "logcount:[VALU] ModelID", "parser"});
    if (run.answers[0] == Ok("exists")) {
        GTEST_SKIP() << "another process publishes the model identifier right now";
    }
    EXPECT_EQ(run.answers[1], "!35 [FUNC] CFilePath::GetCommonFullPath");
    EXPECT_EQ(run.answers[2], "!35 [FUNC] CFilePath::GetPropertyFullPath");
    EXPECT_EQ(run.answers[3], Ok("0"));
    EXPECT_EQ(run.answers[4], "!3 [FUNC] CFilePath::CreateDirectory");
    EXPECT_EQ(run.answers[5], Ok("2"));
    EXPECT_EQ(run.answers[6], Ok(s_common)) << "paths without the model still work";

    const auto log = run.Log();
    const int first = kvttest::FindLine(log, "[ERR!] - [VALU] ModelID");
    ASSERT_GE(first, 0);
    ASSERT_LT(first + 2, static_cast<int>(log.size()));
    EXPECT_EQ(log[first + 1], "[ERR!] - [VALU] ModelID");
    EXPECT_EQ(log[first + 2], "[ERR!] - [FUNC] CFilePath::GetCommonFullPath")
        << "GetPropertyFullPath logs the inner member's failure in its own frame";
}
