#include "core/ui/version_text.h"

#include <cstdio>

namespace ld {

std::string ProgramVersionText(std::uint32_t high, std::uint32_t low) {
  char text[64];
  std::snprintf(text, sizeof text, "v%u.%u.%u.%u", high >> 16, high & 0xFFFFu, low >> 16,
                low & 0xFFFFu);
  return text;
}

}  // namespace ld
