// The style sheet and the script of the report page, inline: the page needs nothing
// from outside and opens offline.
#pragma once

namespace logreport {

extern const char kPageStyle[];
extern const char kPageScript[];

}  // namespace logreport
