// A child process whose standard output and error are read live, so a test (or a
// driver) can wait for a line while the child keeps running.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "common/Handles.h"
#include "support/ProcessStart.h"

namespace chtest {

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the command line in the current directory. With newConsole the child gets
    // a console of its own (needed for console control events); otherwise it shares
    // the caller's, if any. A child that cannot be started throws
    // kvttest::HarnessFailure (support/ProcessStart.h).
    void Start(const std::string& commandLine, bool newConsole = false);
    // Waits until standard output (or error) contains `text`; false on time-out or
    // when the child ended without writing it.
    bool WaitForOut(const std::string& text, unsigned timeoutMs) { return WaitFor(text, false, timeoutMs); }
    bool WaitForErr(const std::string& text, unsigned timeoutMs) { return WaitFor(text, true, timeoutMs); }
    // True when the child has ended within the time; its output is then complete.
    bool WaitForExit(unsigned timeoutMs);
    int ExitCode() const { return _exitCode; }
    DWORD ProcessId() const { return _processId; }
    std::string Out();
    std::string Err();
    // Ends a child that is still running (exit code 9).
    void Kill();

private:
    bool WaitFor(const std::string& text, bool err, unsigned timeoutMs);
    void ReadPipe(HANDLE pipe, bool err);
    void JoinReaders();

    kvttest::StartedProcess _child;
    bool _running = false;
    DWORD _processId = 0;
    int _exitCode = -1;
    kvt::UniqueKernelHandle _outRead, _errRead;
    std::thread _outThread, _errThread;
    std::mutex _lock;
    std::condition_variable _changed;
    std::string _out, _err;
    int _openPipes = 0;
};

// "<bin folder><program>.exe" in quotes, for a command line.
std::string Program(const std::string& name);

}  // namespace chtest
