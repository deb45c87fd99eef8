// Log streams: each component of a library composes its log lines in its own static
// LogStream, an output stream over a fixed buffer of 2,048,000 bytes that never grows.
// CommitLog (LogFile.h) moves the text to "KvtDll.log" and empties the stream.
#pragma once

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string_view>

namespace kvtlog {

constexpr std::size_t kLogBufferSize = 2048000;

// The fixed buffer. One byte always stays zero after the text; text written beyond
// the capacity between two commits is dropped (and counted), never overruns.
class LogBuffer : public std::streambuf {
public:
    LogBuffer();
    LogBuffer(const LogBuffer&) = delete;
    LogBuffer& operator=(const LogBuffer&) = delete;

    const char* Text() const { return _text; }
    std::size_t Length() const { return static_cast<std::size_t>(pptr() - pbase()); }
    std::size_t Dropped() const { return _dropped; }
    void Empty();

protected:
    int_type overflow(int_type ch) override;

private:
    char _text[kLogBufferSize];
    std::size_t _dropped = 0;
};

namespace detail {
struct LogBufferHolder {
    LogBuffer _buffer;
};
}  // namespace detail

class LogStream : private detail::LogBufferHolder, public std::ostream {
public:
    LogStream();
    LogStream(const LogStream&) = delete;
    LogStream& operator=(const LogStream&) = delete;

    const char* Text() const { return _buffer.Text(); }
    std::size_t Length() const { return _buffer.Length(); }
    std::size_t Dropped() const { return _buffer.Dropped(); }
    // Zeroes the text up to the put position, rewinds and clears the error state;
    // formatting state stays.
    void Empty();
};

// Writes the time-stamp prefix (_gt with width 10) and returns the stream.
std::ostream& Stamp(LogStream& log);

// A stamped line: prefix, text, line feed.
void Line(LogStream& log, std::string_view text);

}  // namespace kvtlog
