// The three ways a kvt command fails, each with its exit code (KvtMain.cpp):
//   UsageError    the command line cannot run as given (exit 2);
//   ExportFailure an export or event procedure returned a failure code (exit: the code
//                 where it fits, ResultCodes.h);
//   ToolFailure   kvt's own step failed: a library it cannot load, a file it cannot
//                 write (exit 1).
#pragma once

#include <stdexcept>
#include <string>

namespace kvtcli {

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

class ExportFailure : public std::runtime_error {
public:
    // `step`: the export or procedure ("KVT_OpenDevice", "GetBodyID").
    ExportFailure(const std::string& step, unsigned long code, const std::string& message)
        : std::runtime_error(message), _step(step), _code(code) {}
    const std::string& Step() const { return _step; }
    unsigned long Code() const { return _code; }

private:
    std::string _step;
    unsigned long _code;
};

class ToolFailure : public std::runtime_error {
public:
    explicit ToolFailure(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kvtcli
