#include "core/launch/gamestring_request.h"

#include <algorithm>

#include "core/launch/gamestring.h"
#include "core/launch/gamestring_edit.h"

namespace ld {
namespace {

bool IsMovedKey(std::string_view key) {
  return std::find(kMovedKeys.begin(), kMovedKeys.end(), key) != kMovedKeys.end();
}

// End of a length-prefixed field whose key starts at `key_at`: the position
// of its separator, or npos when the field has no readable length.
std::size_t LengthPrefixedEnd(const std::string& text, std::size_t key_at, std::size_t key_size) {
  std::size_t i = key_at + key_size;
  if (i >= text.size() || text[i] != ':') return std::string::npos;
  std::size_t length = 0;
  std::size_t digits = 0;
  for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 9; ++i, ++digits)
    length = length * 10 + static_cast<std::size_t>(text[i] - '0');
  if (digits == 0 || i >= text.size() || text[i] != '=') return std::string::npos;
  if (length > text.size() - (i + 1)) return std::string::npos;
  return i + 1 + length;
}

// Head of a rewrite: up to the first "&" + key, or, when the key is only
// present without a "&" in front (first pair or field), up to the key itself
// with no "&" to add.
void SplitHead(const std::string& text, std::string_view key, std::size_t key_at, std::string* head,
               const char** separator) {
  const std::size_t amp_key = text.find("&" + std::string(key));
  if (amp_key != std::string::npos) {
    *head = text.substr(0, amp_key);
    *separator = "&";
  } else {
    *head = text.substr(0, key_at);
    *separator = "";
  }
}

}  // namespace

bool GamestringServerAddress(std::string_view first_gamestring, std::string* address) {
  const std::size_t at = SkipPrefix(first_gamestring, kAddressPrefix);
  if (at == std::string_view::npos) return false;
  address->assign(first_gamestring.substr(at));
  return true;
}

void RepairHttpScheme(std::string* address) {
  if (address->compare(0, 7, "http://") == 0) return;
  // Only "http:/" followed by the host is repaired; replacing the first six
  // bytes of any other address ("https://...") would only garble it.
  if (address->compare(0, 6, "http:/") == 0) address->replace(0, 6, "http://");
}

GamestringRequest BuildGamestringRequest(const std::string& canonical_address) {
  GamestringRequest request;
  request.address = canonical_address;
  const std::size_t query = canonical_address.find_first_of("?&");
  std::vector<std::string> keys;
  if (query != std::string::npos) {
    std::size_t begin = query + 1;
    while (begin <= canonical_address.size()) {
      std::size_t end = canonical_address.find('&', begin);
      if (end == std::string::npos) end = canonical_address.size();
      const std::string piece = canonical_address.substr(begin, end - begin);
      begin = end + 1;
      if (piece.empty()) continue;
      const std::size_t eq = piece.find('=');
      const std::string key = piece.substr(0, eq);
      if (!IsMovedKey(key)) continue;
      if (eq == std::string::npos) {
        request.moved_fields.push_back(key);
      } else {
        const std::string value = piece.substr(eq + 1);
        request.moved_fields.push_back(key + ":" + std::to_string(value.size()) + "=" + value);
      }
      keys.push_back(key);
    }
  }
  for (const std::string& key : keys) {
    if (RemovePair(request.address, key)) ++request.removed_pairs;
  }
  return request;
}

void InsertMovedFields(std::string* second_gamestring, const std::vector<std::string>& fields) {
  std::string& s = *second_gamestring;
  if (fields.empty() || s.find("channel://") == std::string::npos) return;
  std::size_t a = s.size();
  const std::size_t game_key = s.find("k22e");
  if (game_key != std::string::npos) {
    const std::size_t amp = s.find('&', game_key);
    if (amp != std::string::npos) a = amp;
  }
  const std::size_t member_key = s.find("k3e");
  const std::size_t b = member_key == std::string::npos ? s.size() : member_key;
  const std::size_t cut = std::min(a, b);
  const bool before_member = cut != s.size() && cut == b;
  std::string inserted;
  for (const std::string& field : fields) inserted += before_member ? field + "&" : "&" + field;
  s.insert(cut, inserted);
}

bool ResynchroniseTicket(std::string* first_gamestring, std::string_view second_gamestring,
                         bool* clk2_pending) {
  std::string& f = *first_gamestring;
  const std::size_t key_at = f.find("k300e");
  if (key_at == std::string::npos) return false;
  const std::size_t amp = f.find('&', key_at);
  const std::string tail = amp == std::string::npos ? std::string() : f.substr(amp);
  std::string head;
  const char* separator = "&";
  SplitHead(f, "k300e", key_at, &head, &separator);
  f = head + separator + "k300e=" + AnalysisValue(second_gamestring, "k300e") + tail;
  if (*clk2_pending) {
    f += "&clk2=1";
    *clk2_pending = false;
  }
  return true;
}

bool WriteIdentifierField(std::string* second_gamestring, std::string_view identifier) {
  std::string& s = *second_gamestring;
  const std::size_t key_at = s.find("k301e");
  if (key_at == std::string::npos) return false;
  std::size_t tail_at = LengthPrefixedEnd(s, key_at, 5);
  if (tail_at == std::string::npos) tail_at = s.find('&', key_at);
  const std::string tail = tail_at == std::string::npos ? std::string() : s.substr(tail_at);
  std::string head;
  const char* separator = "&";
  SplitHead(s, "k301e", key_at, &head, &separator);
  s = head + separator + "k301e:" + std::to_string(identifier.size()) + "=" +
      std::string(identifier) + tail;
  return true;
}

}  // namespace ld
