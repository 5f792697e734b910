// The URL encoding of the step log's query values. Pure functions, callable
// from any thread; they work on bytes and never look at a code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ld {

// A space becomes "+"; ASCII letters, digits, "@" and "." stay; every other
// byte (bytes of 0x80 and above included) becomes "%" and two upper-case hex
// digits.
std::string UrlEncode(std::string_view bytes);

// As UrlEncode, but fails (returns false, *out untouched) when the encoded
// text would be longer than max_chars.
bool UrlEncodeBounded(std::string_view bytes, std::size_t max_chars, std::string* out);

}  // namespace ld
