// Folders that rooted directory lines of an update list ("<WINDOWS>",
// "<SYSTEM>", "<TEMP>") stand for. The caller asks the system for them (the
// starter on Windows) or makes them up (ldtool, tests); core never asks.
#pragma once

#include <string>

namespace ld {

struct UpdateListFolders {
  std::string windows = "C:\\WINDOWS";           // "<WINDOWS>"
  std::string system = "C:\\WINDOWS\\system32";  // "<SYSTEM>"
  // "<TEMP>"; one trailing backslash is dropped where it is used.
  std::string temp = "C:\\TEMP";
};

}  // namespace ld
