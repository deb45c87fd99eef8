// The banner the tool reports first (it opens the result text).
#pragma once

namespace tavol {

extern const char kBanner[];

}  // namespace tavol
