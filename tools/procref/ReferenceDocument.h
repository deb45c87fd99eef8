// Joins the plug-in's registrations with their descriptions: the checks that keep the
// two from drifting apart, and the Markdown reference.
#pragma once

#include <string>
#include <vector>

#include "tools/procref/ProcedureDescriptions.h"
#include "tools/procref/RegisteredProcedures.h"

namespace procref {

// Everything that does not fit: a registered name without a description, a described
// name that is not registered, a name described twice, a parameter whose size or
// direction contradicts the registration. Empty when the two agree.
std::vector<std::string> CheckReference(const std::vector<RegisteredProcedure>& registered,
                                        const std::vector<Description>& descriptions);

// The reference in registration order. A name without a description is still listed.
std::string RenderReference(const std::vector<RegisteredProcedure>& registered,
                            const std::vector<Description>& descriptions);

}  // namespace procref
