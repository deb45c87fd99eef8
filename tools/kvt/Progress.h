// A progress line on standard error while one long call runs (a property dump, a
// release and transfer): a thread asks `status` four times a second and rewrites the
// line. Only when standard error is a terminal and the output is not JSON; the thread
// looks at files only and never calls the libraries.
#pragma once

#include <functional>
#include <string>

#include "common/Handles.h"
#include "tools/kvt/Output.h"

namespace kvtcli {

class Progress {
public:
    Progress(const Output& out, std::function<std::string()> status);
    // Stops the thread and clears the line.
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

private:
    static DWORD WINAPI Run(void* self);

    const Output& _out;
    std::function<std::string()> _status;
    kvt::UniqueKernelHandle _stop;
    kvt::UniqueKernelHandle _thread;
    std::size_t _shown = 0;   // characters of the last line
};

}  // namespace kvtcli
