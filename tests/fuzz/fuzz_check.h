// A broken invariant ends the run as a crash, which libFuzzer reports with the input.
#pragma once

#include <cstdlib>

namespace vt::fuzz {

inline void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace vt::fuzz
