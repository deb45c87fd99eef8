#include "channel/ChildProcess.h"

#include <chrono>

#include "support/TestSupport.h"

namespace chtest {

ChildProcess::~ChildProcess() {
    Kill();
}

bool ChildProcess::Start(const std::string& commandLine, bool newConsole) {
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE outR = nullptr, outW = nullptr, errR = nullptr, errW = nullptr;
    if (!::CreatePipe(&outR, &outW, &sa, 0)) {
        return false;
    }
    kvt::UniqueKernelHandle outRead(outR), outWrite(outW);
    if (!::CreatePipe(&errR, &errW, &sa, 0)) {
        return false;
    }
    kvt::UniqueKernelHandle errRead(errR), errWrite(errW);
    ::SetHandleInformation(outR, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errR, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = outW;
    si.hStdError = errW;
    PROCESS_INFORMATION pi{};
    std::string cmd = commandLine;
    if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE,
                          newConsole ? CREATE_NEW_CONSOLE : 0, nullptr, nullptr, &si, &pi)) {
        return false;
    }
    ::CloseHandle(pi.hThread);
    _process.Reset(pi.hProcess);
    _processId = pi.dwProcessId;
    outWrite.Reset();
    errWrite.Reset();
    _outRead = std::move(outRead);
    _errRead = std::move(errRead);
    _openPipes = 2;
    _outThread = std::thread(&ChildProcess::ReadPipe, this, _outRead.Get(), false);
    _errThread = std::thread(&ChildProcess::ReadPipe, this, _errRead.Get(), true);
    return true;
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
    if (!_process) {
        return true;
    }
    if (::WaitForSingleObject(_process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(_process.Get(), &code);
    _exitCode = static_cast<int>(code);
    _process.Reset();
    JoinReaders();
    return true;
}

void ChildProcess::JoinReaders() {
    // The pipes end when the child and every process that inherited them have ended.
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
    if (_process) {
        ::TerminateProcess(_process.Get(), 9);
        WaitForExit(30000);
    }
    JoinReaders();
}

std::string Program(const std::string& name) {
    return "\"" + kvttest::BinDir() + name + ".exe\"";
}

}  // namespace chtest
