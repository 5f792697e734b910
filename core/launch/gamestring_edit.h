// Editing operations that rewrite a launch string in place: used by the
// ticket re-synchronisation and the token refresh on the launch-string record
// (installation driver thread or the window thread's refresh timer; the
// record's owner orders those). Byte for byte, nothing escaped; never fail.
#pragma once

#include <string>
#include <string_view>

namespace ld {

enum class SetPairResult : int { kAppended = -1, kInserted = 0, kReplaced = 1 };

// Sets key=value in text:
// - key + "=" present: its first occurrence's value (up to the next "&", else
//   the next blank, else the end) is replaced -> kReplaced;
// - else anchor_key + "=" present (empty anchor: any "="): "&key=value" is put
//   before the first "&" behind the anchor's first occurrence (the end when
//   there is none) -> kInserted; an empty anchor on a P-form string lands
//   right behind the "P=" marker;
// - else appended ("key=value" to an empty text or one ending in "&",
//   "&key=value" otherwise) -> kAppended.
SetPairResult SetPair(std::string& text, std::string_view key, std::string_view value,
                      std::string_view anchor_key);

// Removes the first occurrence of pair_text (a key, or "key=") together with
// its value and one neighbouring "&", but only when that occurrence starts
// the text or follows "?" or "&" (later occurrences are not tried). A "?"
// before it stays. Returns false when nothing was removed.
bool RemovePair(std::string& text, std::string_view pair_text);

}  // namespace ld
