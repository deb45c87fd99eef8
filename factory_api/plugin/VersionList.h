// Reading the version list "_Q517_/Property/verck" (relative to the current
// directory) one 32-byte field at a time, forward only.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "factory_api/plugin/VersionCipher.h"

class CVersionList {
public:
    // "_Q517_/Property/verck" for the library's model.
    static std::string RelativePath();

    // Opens the list; failure throws "[SYSF] fopen_s" (1).
    CVersionList();

    // The next whole field; false at the end of the list (a trailing partial field
    // counts as the end).
    bool ReadField(char (&field)[verck::kFieldSize]);

    void Close() noexcept { _file.reset(); }

private:
    struct FileCloser {
        void operator()(std::FILE* f) const noexcept { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, FileCloser> _file;
};
