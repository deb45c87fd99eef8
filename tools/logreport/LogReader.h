// Streams a log file line by line through a fixed buffer: memory stays the same
// whatever the file's size. Lines end at LF; a CR before it is dropped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Handles.h"

namespace logreport {

struct RawLine {
    std::string_view text;       // without CR LF; valid until the next call of Next
    std::uint64_t number = 0;    // 1-based
    bool cut = false;            // longer than kMaxLineLength: the rest was skipped
    bool torn = false;           // the file's last line, without a line end
};

class LogReader {
public:
    static constexpr std::size_t kMaxLineLength = 64 * 1024;

    // Opens the file shared for reading and writing (a library may be appending to it).
    // False with the system error code when it cannot be opened.
    bool Open(const std::string& path, unsigned long& error);

    // The next line; false at the end of the file or when a read fails (ReadError).
    bool Next(RawLine& line);

    std::uint64_t BytesRead() const { return _bytesRead; }
    std::uint64_t CrLfLines() const { return _crLf; }
    unsigned long ReadError() const { return _readError; }

private:
    bool Fill();

    kvt::UniqueFile _file;
    std::vector<char> _buffer = std::vector<char>(4 * kMaxLineLength + 1024 * 1024);
    std::size_t _begin = 0;
    std::size_t _end = 0;
    bool _eof = false;
    bool _skipping = false;      // inside the remainder of a cut line
    std::uint64_t _number = 0;
    std::uint64_t _bytesRead = 0;
    std::uint64_t _crLf = 0;
    unsigned long _readError = 0;
};

}  // namespace logreport
