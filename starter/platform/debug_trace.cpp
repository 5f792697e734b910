#include "starter/platform/debug_trace.h"

#include <windows.h>

namespace ld {

void Trace(const std::string& text) {
  std::string line = text;
  line += '\n';
  ::OutputDebugStringA(line.c_str());
}

}  // namespace ld
