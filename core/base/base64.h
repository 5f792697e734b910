// Base64 decoding of launch-string values (P0, P1, P2, "shutdown").
#pragma once

#include <string>
#include <string_view>

namespace ld {

// Decodes standard-alphabet base64 the lenient way the portal's pages rely on:
// every byte outside the alphabet ("=" padding, blanks, line breaks) is
// skipped as if absent, and a short final group yields what its bits fill
// (so unpadded text decodes like padded text). The result is taken up to the
// first decoded NUL, because every consumer treats it as a C string.
// Pure; callable from any thread; never fails.
std::string Base64Decode(std::string_view text);

}  // namespace ld
