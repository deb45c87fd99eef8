// The recorder loaded into the test program from a folder of its own, in front of a
// target library, with its eleven functions bound as the product binds them. Each
// instance is a fresh copy (a fresh folder, so a fresh module and state); the
// destructor unloads it, which releases the target and closes the recording.
#pragma once

#include <string>
#include <vector>

#include "simulator/recorder/TargetLibrary.h"
#include "simulator/recording/RecordingFormat.h"

namespace rectest {

class LoadedRecorder {
public:
    // `target` as the INI's Target line; `recording` as its Recording line.
    explicit LoadedRecorder(const std::string& target, const std::string& recording = "test.rec");
    ~LoadedRecorder();
    LoadedRecorder(const LoadedRecorder&) = delete;
    LoadedRecorder& operator=(const LoadedRecorder&) = delete;

    bool Ok() const { return _library.Loaded(); }
    const std::string& Folder() const { return _folder; }
    const kvtrecorder::TargetFunctions& Call() const { return _library.Functions(); }
    // The recording written so far (the first one of the folder unless named).
    std::vector<kvtrec::CallLine> Calls(const std::string& name = "test.rec") const;
    kvtrec::CallLine Last() const;

private:
    std::string _folder;
    kvtrecorder::TargetLibrary _library;
};

}  // namespace rectest
