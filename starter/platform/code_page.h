// Code page conversions of the starter's text. The program holds Korean text
// in code page 949 (string tables under a Korean system, compiled-in
// literals); the remote services want UTF-8.
//
// Any thread; no state.
#pragma once

#include <string>

namespace ld {

inline constexpr unsigned kKoreanCodePage = 949;

// Converts code page 949 bytes to UTF-8 into *utf8. Returns false (and leaves
// *utf8 alone) when the bytes are not valid code page 949 or the system
// cannot convert. An empty input gives an empty output and true.
bool Cp949ToUtf8(const std::string& cp949, std::string* utf8);

// The reverse, for tests and for texts that arrive as UTF-8.
bool Utf8ToCp949(const std::string& utf8, std::string* cp949);

}  // namespace ld
