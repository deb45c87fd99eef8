// The work behind k2pPushRemoteEventProcedureSendParameter and
// k2pExecuteRemoteEventProcedure.
#pragma once

#include <string>
#include <vector>

#include "simulator/camera/TransportCall.h"

namespace kvtsim {

// Checks and appends one parameter (the bytes are copied at once).
unsigned PushParameter(Link& link, unsigned type, const void* data, unsigned size);
// "<type>:<hex>,<type>:<hex>" for the journal, "-" for none.
std::string ParamsText(const std::vector<Param>& params);
// Runs the named procedure on camera slot `cam` with its pushed parameters.
unsigned ExecuteProcedure(TransportCall& call, int cam, const char* name, unsigned returnData,
                          unsigned* result);

}  // namespace kvtsim
