#include "tests/recorder/LoadedRecorder.h"

#include "support/TestSupport.h"
#include "tests/recorder/Station.h"

namespace rectest {

LoadedRecorder::LoadedRecorder(const std::string& target, const std::string& recording)
    : _folder(kvttest::MakeFreshDir("recorder")) {
    std::string error;
    if (kvttest::CopyFileTo(kvttest::BinDir() + "recorder\\KVTItoPTP.dll",
                            _folder + "KVTItoPTP.dll") &&
        kvttest::WriteFileBytes(
            _folder + "KVTRecorder.ini",
            "[Recorder]\r\nTarget = " + target + "\r\nRecording = " + recording + "\r\n")) {
        _library.Load(_folder + "KVTItoPTP.dll", nullptr, &error);
    }
}

LoadedRecorder::~LoadedRecorder() {
    _library.Release();
}

std::vector<kvtrec::CallLine> LoadedRecorder::Calls(const std::string& name) const {
    return RecordedCalls(_folder + name);
}

kvtrec::CallLine LoadedRecorder::Last() const {
    const std::vector<kvtrec::CallLine> calls = Calls();
    return calls.empty() ? kvtrec::CallLine() : calls.back();
}

}  // namespace rectest
