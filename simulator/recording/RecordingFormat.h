// The text of a transport recording, shared by the recorder that writes it, the
// simulated camera that replays it and the tests that read and edit it. The layout is
// documented in simulator/camera/README.md ("Recording a camera").
//
// One call a line: "<n> <function> key=value ... st=<status>", single blanks, values
// without blanks. Lines that start with '#' are comments; the first line is kHeader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kvtrec {

constexpr char kHeader[] = "# KVTItoPTP recording 1";
// A block of more bytes than this goes to a binary file beside the recording.
constexpr std::size_t kInlineBytes = 1024;
// Procedure and block names are written up to this many characters.
constexpr std::size_t kMaxNameLength = 256;
// The written value of a null pointer: "(null)" for a name, "null" otherwise.
constexpr char kNullName[] = "(null)";
constexpr char kNull[] = "null";
constexpr char kFilePrefix[] = "file:";

// Two lower-case hexadecimal digits per byte, no separators.
std::string Hex(const void* data, std::size_t size);
// "0x" and eight lower-case hexadecimal digits.
std::string Hex8(std::uint32_t value);
// Hexadecimal digits (an even count, either case) into bytes; false for anything else.
bool FromHex(const std::string& text, std::string* bytes);
// A number: decimal, or hexadecimal with "0x".
bool ParseNumber(const std::string& text, std::uint64_t* value);
bool ParseU32(const std::string& text, std::uint32_t* value);

// A text with the bytes outside '!'..'~' and '%' written as %XX (no blanks remain).
std::string EscapeText(const std::string& text);
// The same of a name, at most kMaxNameLength characters of it; kNullName for null.
std::string EscapeName(const char* name);
// The reverse; false for a malformed escape.
bool UnescapeName(const std::string& text, std::string* name);

// The folder of a path, with its trailing separator ("" for a bare name).
std::string FolderOf(const std::string& path);
// `path` as it stands when it is full ("C:\...", "\\server\...", "\..."), else below
// `folder` (a block file below the recording's folder, a configured path below the
// recorder's).
std::string PathFrom(const std::string& folder, const std::string& path);

// One recorded call.
struct CallLine {
    std::uint64_t number = 0;  // the call's number in the recording
    std::string function;
    std::vector<std::pair<std::string, std::string>> fields;  // in written order
    unsigned line = 0;         // line in the file (1 = the header)

    CallLine& Add(const std::string& key, const std::string& value);
    CallLine& Add(const std::string& key, std::uint64_t value);  // decimal
    bool Has(const std::string& key) const;
    // The value of `key`, "" when absent.
    std::string Get(const std::string& key) const;
    // "<n> <function> key=value ..." without a line end.
    std::string Text() const;
};

// Parses one call line; a blank or comment line gives false with an empty error.
bool ParseCallLine(const std::string& text, CallLine* call, std::string* error);

// The file name of a call's data block beside the recording: "<recording name>.<n>.bin".
std::string BlockFileName(const std::string& recordingName, std::uint64_t number);

}  // namespace kvtrec
