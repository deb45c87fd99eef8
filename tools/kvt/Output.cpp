#include "tools/kvt/Output.h"

#include <cstdarg>
#include <cstdio>

namespace kvtcli {
namespace {

std::string FormatList(const char* format, va_list args) {
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(&text[0], text.size(), format, again);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(again);
    return text;
}

}  // namespace

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatList(format, args);
    va_end(args);
    return text;
}

Output::Output(const StandardStreams& streams, bool json) : _streams(streams), _json(json) {
    if (_json) {
        _doc.BeginObject();
    }
}

void Output::Text(const std::string& text) const {
    if (!_json) {
        _streams.Out(text);
    }
}

void Output::Textf(const char* format, ...) const {
    if (_json) {
        return;
    }
    va_list args;
    va_start(args, format);
    const std::string text = FormatList(format, args);
    va_end(args);
    _streams.Out(text);
}

void Output::Message(const std::string& text) const {
    _streams.Err(text.empty() || text.back() == '\n' ? text : text + "\n");
}

void Output::Finish() {
    if (_json) {
        _doc.CloseTo(0);
        _streams.Out(_doc.Text() + "\n");
    }
}

}  // namespace kvtcli
