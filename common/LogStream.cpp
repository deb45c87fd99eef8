#include "common/LogStream.h"

#include <cstring>

#include "core/GlobalTimer.h"

namespace kvtlog {

LogBuffer::LogBuffer() {
    std::memset(_text, 0, sizeof(_text));
    setp(_text, _text + kLogBufferSize - 1);
}

void LogBuffer::Empty() {
    std::memset(_text, 0, Length());
    setp(_text, _text + kLogBufferSize - 1);
    _dropped = 0;
}

LogBuffer::int_type LogBuffer::overflow(int_type ch) {
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
        ++_dropped;
    }
    return traits_type::not_eof(ch);
}

LogStream::LogStream() : std::ostream(&_buffer) {}

void LogStream::Empty() {
    _buffer.Empty();
    clear();   // a failed insertion (a null text) must not silence the stream for good
}

std::ostream& Stamp(LogStream& log) {
    static const unsigned long kWidth = 10;
    log << _gt(kWidth);
    return log;
}

void Line(LogStream& log, std::string_view text) {
    Stamp(log) << text << '\n';
}

}  // namespace kvtlog
