// Rules of the old-format gamestring request and of what the starter does
// with the answer: the server address taken from the first gamestring, the
// pairs moved out of it, their insertion into the answer, the ticket carried
// back into the first gamestring and the identifier field written into the
// answer. Pure byte-string functions; nothing is escaped or decoded. Callers
// own every string; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ld {

// What the gamestring request sends and what it keeps aside.
struct GamestringRequest {
  std::string address;                    // canonical address without the moved pairs
  std::vector<std::string> moved_fields;  // "key:length=value", or "key" for a pair without "="
  int removed_pairs = 0;                  // moved pairs actually taken out of the address
};

// The server address: everything behind the first "ludoria://" of the first
// gamestring. False (address untouched) when there is no prefix.
bool GamestringServerAddress(std::string_view first_gamestring, std::string* address);

// "http:/host" (one "/" lost by the canonicalisation) becomes
// "http://host"; any other address stays as it is.
void RepairHttpScheme(std::string* address);

// Splits the query (behind the first "?" or "&") at "&", collects the pairs
// whose key is a moved key as fields, and removes each such key's first pair
// from the address (only where it starts a pair).
GamestringRequest BuildGamestringRequest(const std::string& canonical_address);

// Puts the moved fields into a channel-form answer: behind the value of k22e
// ("&" + field) or, when k3e comes first, before k3e (field + "&"); at the
// end when neither is there. Nothing happens without "channel://" or fields.
void InsertMovedFields(std::string* second_gamestring, const std::vector<std::string>& fields);

// Writes the ticket of the answer (its k300e value, empty when missing) into
// the first gamestring's k300e pair, keeping the pairs behind it; appends
// "&clk2=1" when *clk2_pending and clears it. Nothing happens (false) when the
// first gamestring holds no "k300e".
bool ResynchroniseTicket(std::string* first_gamestring, std::string_view second_gamestring,
                         bool* clk2_pending);

// Rewrites the answer's k301e field as "k301e:<length>=<identifier>". The old
// field ends where its length prefix says (so an identifier holding "&" is
// replaced whole); a field without a readable length ends at the next "&".
// Nothing happens (false) without "k301e".
bool WriteIdentifierField(std::string* second_gamestring, std::string_view identifier);

}  // namespace ld
