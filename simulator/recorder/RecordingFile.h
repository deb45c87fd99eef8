// The recording on disk: one text file of call lines, and one binary file beside it
// per block of more than kvtrec::kInlineBytes bytes. Every line goes to the file with
// one write before the call returns (no buffer of our own), so a process that ends
// abnormally leaves every call it made on record.
#pragma once

#include <cstdint>
#include <string>

#include "common/Handles.h"
#include "simulator/recording/RecordingFormat.h"

namespace kvtrecorder {

class RecordingFile {
public:
    // Creates `path`, or "<stem>-2<extension>", "-3", ... when it exists, and writes the
    // header with these comment lines. False, with `error`, when no name can be made.
    bool Create(const std::string& path, const std::string& comments, std::string* error);
    void Close() { _file.Reset(); }
    const std::string& Path() const { return _path; }

    // The value of a data block: hexadecimal digits in the line when small, otherwise
    // "file:<name>" of a file beside the recording written straight from `data`. False
    // when the bytes cannot be read or the file written (none is left then).
    bool BlockValue(std::uint64_t number, const void* data, std::size_t size, std::string* value);
    // Appends one call line; false when the write fails.
    bool Append(const kvtrec::CallLine& line);

private:
    bool WriteText(const std::string& text);

    kvt::UniqueFile _file;
    std::string _path;    // full path of the recording
    std::string _folder;  // its folder, with a trailing backslash
    std::string _name;    // its file name
};

}  // namespace kvtrecorder
