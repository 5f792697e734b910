#include "core/launch/gamestring_split.h"

#include "core/launch/gamestring.h"

namespace ld {
namespace {

// Stores the ampersand-terminated value that starts behind the "=" at eq.
// Returns the position behind the "&", or npos when the value ran to the end.
std::size_t StoreAmpersandPair(std::string_view rest, std::size_t start, std::size_t eq,
                               GamestringParts& parts) {
  const std::size_t amp = rest.find('&', eq + 1);
  const std::size_t value_end = amp == std::string_view::npos ? rest.size() : amp;
  parts[std::string(rest.substr(start, eq - start))] =
      std::string(rest.substr(eq + 1, value_end - eq - 1));
  return amp == std::string_view::npos ? amp : amp + 1;
}

}  // namespace

GamestringParts SplitByAmpersand(std::string_view rest) {
  GamestringParts parts;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < rest.size()) {
    if (rest[i] != '=') {
      ++i;
      continue;
    }
    start = StoreAmpersandPair(rest, start, i, parts);
    if (start == std::string_view::npos) break;
    // The first byte of a part is never its own "=".
    i = start + 1;
  }
  return parts;
}

GamestringParts SplitByLength(std::string_view rest) {
  GamestringParts parts;
  const std::size_t n = rest.size();
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < n) {
    if (rest[i] != '=') {
      ++i;
      continue;
    }
    // At least one key byte before ":" and one length byte before "=", and
    // never reaching back into the previous field.
    std::size_t colon = std::string_view::npos;
    for (std::size_t j = i >= 2 ? i - 2 : 0; j >= start + 1 && j >= 1; --j) {
      if (rest[j] == ':') {
        colon = j;
        break;
      }
    }
    if (colon == std::string_view::npos) {
      start = StoreAmpersandPair(rest, start, i, parts);
      if (start == std::string_view::npos) break;
      i = start + 1;
      continue;
    }
    const int declared = LeadingInt(rest.substr(colon + 1, i - colon - 1));
    std::size_t length = declared < 0 ? 0 : static_cast<std::size_t>(declared);
    if (length > n - (i + 1)) length = n - (i + 1);  // never past the end
    parts[std::string(rest.substr(start, colon - start))] = std::string(rest.substr(i + 1, length));
    start = i + 1 + length + 1;  // the separator byte is skipped unseen
    i = start + 1;
  }
  return parts;
}

}  // namespace ld
