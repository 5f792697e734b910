#include "core/self_update/self_update_rules.h"

#include "core/base/ascii.h"
#include "core/launch/gamestring.h"

namespace ld {

bool ProgramFileName(std::string_view path, std::string* name) {
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos || slash + 1 >= path.size()) return false;
  name->clear();
  for (char c : path.substr(slash + 1)) name->push_back(AsciiLower(c));
  return true;
}

bool CloneArguments(std::string_view command_line, std::string* arguments) {
  const std::size_t at = command_line.find(kAddressPrefix);
  if (at == std::string_view::npos) return false;
  *arguments = "/clone ";
  arguments->append(command_line.substr(at));
  return true;
}

}  // namespace ld
