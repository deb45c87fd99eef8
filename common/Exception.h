// CException: the one failure object of the libraries. Created with new, thrown as a
// pointer; whoever catches it logs "[ERR!] - " and its message, takes its code and
// deletes it. Header-only, so every module compiles the same class.
#pragma once

#include <string>
#include <utility>

class CException {
public:
    CException(std::string message, unsigned long code)
        : _Message(std::move(message)), _Code(code) {}
    virtual ~CException() = default;

    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;

    const std::string& Message() const { return _Message; }
    unsigned long Code() const { return _Code; }

    // Stands for a failure that was not a CException when it is handed across a module
    // boundary (see ModuleBoundary.h).
    static CException* NewForeign() {
        auto* e = new CException(std::string(), 33);
        e->_Foreign = true;
        return e;
    }
    bool IsForeign() const { return _Foreign; }

private:
    std::string _Message;
    unsigned long _Code;
    bool _Foreign = false;
};

namespace kvt {

// Throws a new CException: Fail("[VALU] pData", 3).
[[noreturn]] inline void Fail(std::string message, unsigned long code) {
    throw new CException(std::move(message), code);
}

}  // namespace kvt
