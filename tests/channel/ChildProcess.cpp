#include "channel/ChildProcess.h"

#include <chrono>

#include "support/ProcessStart.h"
#include "support/TestSupport.h"

namespace chtest {

ChildProcess::~ChildProcess() {
    Kill();
}

void ChildProcess::Start(const std::string& commandLine, bool newConsole) {
    kvt::UniqueKernelHandle outRead, outWrite, errRead, errWrite;
    kvttest::CreateChildPipe(outRead, outWrite);
    kvttest::CreateChildPipe(errRead, errWrite);
    _child = kvttest::StartProcess(commandLine, std::string(),
                                   {::GetStdHandle(STD_INPUT_HANDLE), outWrite.Get(), errWrite.Get()},
                                   newConsole ? CREATE_NEW_CONSOLE : 0);
    _processId = _child.Id();
    _running = true;
    outWrite.Reset();
    errWrite.Reset();
    _outRead = std::move(outRead);
    _errRead = std::move(errRead);
    _openPipes = 2;
    _outThread = std::thread(&ChildProcess::ReadPipe, this, _outRead.Get(), false);
    _errThread = std::thread(&ChildProcess::ReadPipe, this, _errRead.Get(), true);
}

void ChildProcess::ReadPipe(HANDLE pipe, bool err) {
    char buffer[65536];
    DWORD n = 0;
    while (::ReadFile(pipe, buffer, sizeof(buffer), &n, nullptr) && n > 0) {
        std::lock_guard<std::mutex> guard(_lock);
        (err ? _err : _out).append(buffer, n);
        _changed.notify_all();
    }
    std::lock_guard<std::mutex> guard(_lock);
    --_openPipes;
    _changed.notify_all();
}

bool ChildProcess::WaitFor(const std::string& text, bool err, unsigned timeoutMs) {
    std::unique_lock<std::mutex> guard(_lock);
    return _changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] {
        const std::string& seen = err ? _err : _out;
        return seen.find(text) != std::string::npos || _openPipes == 0;
    }) && (err ? _err : _out).find(text) != std::string::npos;
}

bool ChildProcess::WaitForExit(unsigned timeoutMs) {
    if (!_running) {
        return true;
    }
    if (::WaitForSingleObject(_child.Process(), timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(_child.Process(), &code);
    _exitCode = static_cast<int>(code);
    _running = false;
    _child.EndDescendants();
    JoinReaders();
    return true;
}

void ChildProcess::JoinReaders() {
    // The pipes end when the child and everything it started have ended.
    if (_outThread.joinable()) {
        _outThread.join();
    }
    if (_errThread.joinable()) {
        _errThread.join();
    }
    _outRead.Reset();
    _errRead.Reset();
}

std::string ChildProcess::Out() {
    std::lock_guard<std::mutex> guard(_lock);
    return _out;
}

std::string ChildProcess::Err() {
    std::lock_guard<std::mutex> guard(_lock);
    return _err;
}

void ChildProcess::Kill() {
    if (_running) {
        _child.KillTree(9);
        WaitForExit(30000);
    }
    JoinReaders();
}

std::string Program(const std::string& name) {
    return "\"" + kvttest::BinDir() + name + ".exe\"";
}

}  // namespace chtest
