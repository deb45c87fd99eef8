// The fault sweep: an operation runs clean once, its transport calls are read from the
// simulated camera's journal, and then the transport fails at each call position in
// turn. Every attempt prints one line for the test to judge:
//
//   @@ pos <sequence> <index> <function>[:<procedure>] result=<r> at=<i> calls=<n>
//          err=<e> handles=<d> first=<f>
//
// result: the operation's code; at: the journal index of the injected failure (-1 when
// none was injected); calls: the transport calls made; err: "[ERR!]" lines logged;
// first: the change of the process's handle count across the attempt; handles: the
// same for a repeat of the attempt when the first one moved the count (a module's
// runtime creates its exception-handling semaphores on that module's first throw, once
// per process), else equal to first.
// Per sequence: "@@ seq <name> calls=<n> tried=<m> clean=<r>"; at the end "@@ done".
#pragma once

#include <string>
#include <vector>

#include "robustness/DriverContext.h"

namespace robust {

// The status every injected failure returns: odd, so a bit-0 test sees it, and
// distinct from every code the libraries raise themselves.
constexpr unsigned kInjectedStatus = 9001;

// The positions tried of a clean run of `count` calls: all of them, or, above
// `limit`, the first and last limit/4 and evenly spaced ones in between.
std::vector<std::size_t> SweepPositions(std::size_t count, std::size_t limit);

// The journal index of the first call that failed by injection, or -1.
long InjectedAt(const std::vector<kvttest::SimCall>& calls);
// How often the function of call `index` occurs up to and including it (1-based): the
// `nth` that makes SetFault fail that call.
unsigned Occurrence(const std::vector<kvttest::SimCall>& calls, std::size_t index);

// Runs the named sequences ("all" for every one); returns the driver's exit code.
int RunFaultSweep(DriverContext& ctx, const std::vector<std::string>& names);

// The first open of the process: k2pInitialize fails once, the next open binds and
// initialises again and succeeds.
int RunInitializeFault(DriverContext& ctx);

}  // namespace robust
