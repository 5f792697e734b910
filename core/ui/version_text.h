// The program's version as the windows show it: "v19.0.7.14".
#pragma once

#include <cstdint>
#include <string>

namespace ld {

// `high` and `low` are the two halves of a file version (major << 16 | minor,
// build << 16 | revision).
std::string ProgramVersionText(std::uint32_t high, std::uint32_t low);

}  // namespace ld
