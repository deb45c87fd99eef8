// The meaning of a result code, from the public table of the factory API's codes.
#pragma once

namespace logreport {

// The table's text for the codes the libraries raise; for any other code, that it
// was passed on from the camera or its transport.
const char* ResultMeaning(long result);

}  // namespace logreport
