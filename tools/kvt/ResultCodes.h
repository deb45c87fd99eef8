// Result codes as kvt reports them: the meaning from the SDK's one table
// (KVT_RESULT_TABLE, kvt_results.h) and the exit code a result becomes.
#pragma once

#include <string>

#include "tools/common/ResultMeaning.h"

namespace kvtcli {

// Exit code of usage errors.
constexpr int kUsageExitCode = 2;

using kvttools::ResultMeaning;

// "29 (the device is not open)".
std::string DescribeResult(unsigned long code);

// The exit code of a failing result: the code itself where a shell sees it whole
// (1 to 255) and it cannot be taken for a usage error (2); 1 otherwise.
int ExitCodeOf(unsigned long code);

// Throws ExportFailure "<step> failed with <code> (<meaning>)" for a nonzero result.
void Require(const char* step, unsigned long result);

}  // namespace kvtcli
