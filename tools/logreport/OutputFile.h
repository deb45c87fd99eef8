// A file written through a buffer of its own, in binary mode: the page is written
// once, front to back, while the log is read.
#pragma once

#include <string>
#include <string_view>

#include "common/Handles.h"

namespace logreport {

class OutputFile {
public:
    // Creates or truncates the file; false with the system error code.
    bool Create(const std::string& path, unsigned long& error);
    void Write(std::string_view bytes);
    // Writes what is buffered and closes the file; false (with the error code) when
    // any write failed.
    bool Close(unsigned long& error);

private:
    void Flush();

    kvt::UniqueFile _file;
    std::string _buffer;
    unsigned long _error = 0;
};

}  // namespace logreport
