// Splitting the rest of a launch string into key/value parts, for the parts
// dump only (the getters read values directly). Pure; any thread.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace ld {

// Ordered by plain byte-wise key comparison; a later equal key replaces the
// earlier value.
using GamestringParts = std::map<std::string, std::string>;

// Query-form and P-form rests: key "=" value pairs joined by "&". Text before
// an "=" that is not a key of its own (no "&" in between) becomes part of the
// next key, as the starter has always shown it.
GamestringParts SplitByAmpersand(std::string_view rest);

// Channel-form rests: key ":" length "=" value fields, each followed by one
// separator byte that is skipped unseen, so values may hold "&", "=" or ":".
// A length running past the end takes what is there; a negative length counts
// as 0. A field with no ":" before its "=" is read like an ampersand pair.
GamestringParts SplitByLength(std::string_view rest);

}  // namespace ld
