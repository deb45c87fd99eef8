// The driver's "run" mode: the sequences run once each, in the order given, as one
// factory program's session, for tests that compare what the session leaves in
// "KvtDll.log" (the log's two modes, a process killed during an operation). Tokens:
//
//   <sequence>              its set-up and operation (Sequences.h)
//   <sequence>!<n>          the same, the n-th camera-side procedure call of the
//                           operation failing in the transport
//   locked:<sequence>       the same, "KvtDll.log" held open without sharing during the
//                           operation, so that no writer can open it
//   interrupt:<procedure>   KVT_ExecuteEventProcS of the procedure on another thread,
//                           held in its name block's mutex; after a second the
//                           process is killed (no unload)
//
// Lines: "@@ fastlog <0|1>" (whether the process's log batch exists), "@@ ran <token>
// result=<code>" per token, "@@ interrupting" before a kill, and "@@ done" after
// KVT_CloseDevice; the process then ends normally and the libraries unload.
#pragma once

#include <string>
#include <vector>

#include "robustness/DriverContext.h"

namespace robust {

int RunSequences(DriverContext& ctx, const std::vector<std::string>& tokens);

}  // namespace robust
