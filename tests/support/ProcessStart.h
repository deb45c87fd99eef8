// Child processes of the tests and benchmarks: the one place where they are started.
//
//   kvttest::StartedProcess child = kvttest::StartProcess(commandLine, workDir,
//                                                         {inRead, outWrite, errWrite});
//
// - The child inherits exactly the standard handles it is given (an explicit handle
//   list), never another handle of this process: not the pipe ends of a child that
//   another thread starts at the same moment (its reader would then wait for this
//   child's end too), nor this program's own standard handles (the launcher's output
//   pipe would stay open after the test program ended).
// - It runs in a job of its own: KillTree, or the end of the StartedProcess, ends it
//   and everything it started, so no descendant keeps its output pipes open once the
//   child has ended or was killed at its time limit.
// - A start that fails is reported on standard error ("HARNESS: ...", with
//   GetLastError and the command line) and tried once more after a pause. A second
//   failure throws HarnessFailure with both errors: in a GoogleTest test that ends the
//   test with this text, a failure of the machine or of Wine, never a result of the
//   product.
#pragma once

#include <stdexcept>
#include <string>

#include "common/Handles.h"
#include "common/Win32.h"

namespace kvttest {

class HarnessFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The child's standard handles; any may be null. They need not be inheritable.
struct ChildStdio {
    HANDLE input = nullptr;
    HANDLE output = nullptr;
    HANDLE error = nullptr;
};

class StartedProcess {
public:
    StartedProcess() = default;
    StartedProcess(StartedProcess&&) = default;
    StartedProcess& operator=(StartedProcess&&) = default;
    ~StartedProcess();

    HANDLE Process() const { return _process.Get(); }
    DWORD Id() const { return _id; }
    // Ends the child and every process it started; waits for the child.
    void KillTree(UINT exitCode);
    // Ends what the child started and left running, once the child has ended itself.
    void EndDescendants();

private:
    friend StartedProcess StartProcess(const std::string&, const std::string&, const ChildStdio&, DWORD);
    kvt::UniqueKernelHandle _job;
    kvt::UniqueKernelHandle _process;
    DWORD _id = 0;
};

// Starts `commandLine` in `workDir` (the current directory when empty) with the given
// standard handles; `creationFlags` as CreateProcess takes them. Throws HarnessFailure
// when the second attempt fails too.
StartedProcess StartProcess(const std::string& commandLine, const std::string& workDir,
                            const ChildStdio& stdio, DWORD creationFlags = 0);

// An anonymous pipe whose ends this process does not hand to children on its own.
// Throws HarnessFailure when it cannot be created.
void CreateChildPipe(kvt::UniqueKernelHandle& read, kvt::UniqueKernelHandle& write);

}  // namespace kvttest
