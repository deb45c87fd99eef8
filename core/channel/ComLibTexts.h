// The warning texts of ComLIB, in the Japanese code page (932).
#pragma once

namespace comlib {

extern const char kVersionWarningCaption[];   // "警告"
// The version warning, a printf format taking this library's major version.
extern const char kVersionWarningFormat[];
extern const char kNotCreatedText[];          // the shared memory has not been created

}  // namespace comlib
