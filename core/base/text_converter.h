// Conversion of the program's Korean text (code page 949) to UTF-8 is a fact
// of the system: the starter passes the Windows conversion in, tests pass a
// table or the identity.
#pragma once

#include <functional>
#include <string>

namespace ld {

// Converts code page 949 bytes to UTF-8 into *utf8. Returns false (and leaves
// *utf8 unspecified) when the bytes cannot be converted. Called on whatever
// thread the caller of the core function runs on.
using Utf8Converter = std::function<bool(const std::string& cp949, std::string* utf8)>;

}  // namespace ld
