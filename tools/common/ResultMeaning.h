// The meaning of a factory API result code, for the toolkit's programs that print one:
// the SDK's one table of the codes the libraries raise (KVT_RESULT_TABLE, kvt_results.h).
#pragma once

namespace kvttools {

// The table's text for the codes the libraries raise; for any other code, that it was
// passed on from the camera or its transport.
const char* ResultMeaning(unsigned long code);

}  // namespace kvttools
