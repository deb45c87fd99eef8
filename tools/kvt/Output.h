// What a command prints: text as it goes, or members of the one JSON document that
// kvt writes when the command ends (--json). Messages go to standard error in both.
#pragma once

#include <string>

#include "tools/kvt/JsonWriter.h"
#include "tools/kvt/StandardStreams.h"

namespace kvtcli {

class Output {
public:
    Output(const StandardStreams& streams, bool json);

    bool Json() const { return _json; }
    // The document, inside its top-level object (JSON mode only).
    JsonWriter& Doc() { return _doc; }

    // Text mode: printed at once; JSON mode: nothing.
    void Text(const std::string& text) const;
    void Textf(const char* format, ...) const __attribute__((format(printf, 2, 3)));
    // A message on standard error, in both modes.
    void Message(const std::string& text) const;

    // JSON mode: closes what a failed command left open and writes the document.
    void Finish();

    const StandardStreams& Streams() const { return _streams; }

private:
    const StandardStreams& _streams;
    bool _json;
    JsonWriter _doc;
};

// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kvtcli
