// The number of kernel handles the calling process holds, for leak checks.
#pragma once

namespace kvttest {

// GetProcessHandleCount where the system reports a count; Wine's reports 0, so there
// the process's entries of the system handle table are counted instead. Returns 0
// when neither works.
unsigned ProcessHandleCount();

}  // namespace kvttest
