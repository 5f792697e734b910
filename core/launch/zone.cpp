#include "core/launch/zone.h"

namespace ld {

char ZoneValue(std::string_view text, GamestringFormat format) {
  // The launch-string grammar owns how p189 and P2 are read.
  return ZoneCode(text, format);
}

int ZoneNumber(char zone) { return (zone >= '1' && zone <= '5') ? zone - '0' : 0; }

}  // namespace ld
