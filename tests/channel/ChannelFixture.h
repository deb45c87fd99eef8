// Helpers of the channel tests: unique channel names, views of a channel's objects
// that do not count as an opener, and captures of the library's progress output and
// message seam.
#pragma once

#include <string>
#include <vector>

#include "common/Handles.h"
#include "common/Win32.h"

namespace chtest {

// A channel name no other test (or earlier run) uses: "ch<pid>_<tag><n>".
std::string UniqueName(const char* tag);

// An existing named mapping, mapped here without going through the channel library.
class RawMapping {
public:
    explicit RawMapping(const std::string& name);
    bool Valid() const { return _view.Valid(); }
    unsigned char* Bytes() const { return static_cast<unsigned char*>(_view.Get()); }

private:
    kvt::UniqueKernelHandle _mapping;
    kvt::UniqueMappedView _view;
};

// The information block "<name>_INFO" of an open channel.
class InfoProbe {
public:
    explicit InfoProbe(const std::string& channel) : _map(channel + "_INFO") {}
    bool Valid() const { return _map.Valid(); }
    LONG Word(unsigned index) const;
    void SetWord(unsigned index, LONG value);
    LONG Hold() const { return Word(0); }
    LONG Writing() const { return Word(1); }
    LONG WriteCount() const { return Word(2); }
    LONG Pending() const { return Word(4); }
    LONG Openers() const { return Word(5); }
    LONG Version() const { return Word(6); }

private:
    RawMapping _map;
};

// Creates "<name>_INFO" ahead of the channel (28 bytes) with a given version word.
class PresetInfoBlock {
public:
    PresetInfoBlock(const std::string& channel, LONG version);
    bool Valid() const { return _view.Valid(); }

private:
    kvt::UniqueKernelHandle _mapping;
    kvt::UniqueMappedView _view;
};

// Progress messages of the channel library, collected for the scope.
class ProgressCapture {
public:
    ProgressCapture();
    ~ProgressCapture();
    ProgressCapture(const ProgressCapture&) = delete;
    ProgressCapture& operator=(const ProgressCapture&) = delete;
    std::string Text();
    std::vector<std::string> Lines();

private:
    std::string _path;
    std::FILE* _file = nullptr;
    std::FILE* _previous = nullptr;
};

// Messages that went through the message seam during the scope.
struct SeamMessage {
    std::string text;
    bool hasCaption = false;
    std::string caption;
};
class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;
    const std::vector<SeamMessage>& Messages() const;
};

// The text with every carriage return removed (standard streams of a child are in
// text mode).
std::string WithoutCr(const std::string& text);

// Bytes from a hex text ("8c788d90").
std::string FromHex(const std::string& hex);

// The library's warnings as exact Shift-JIS bytes (written out, not compiled): the
// caption "警告", the version warning filled in with version 5, and the text of the
// box for an unknown channel id.
std::string CaptionBytes();
std::string VersionWarningBytes();
std::string NotCreatedBytes();

}  // namespace chtest
