#include "core/launch/gamestring_edit.h"

#include "core/launch/gamestring.h"

namespace ld {

SetPairResult SetPair(std::string& text, std::string_view key, std::string_view value,
                      std::string_view anchor_key) {
  std::string pair(key);
  pair.push_back('=');
  pair.append(value);

  if (HasPair(key, text)) {
    const std::size_t p = text.find(pair.substr(0, key.size() + 1));
    const std::size_t from = p + key.size() + 1;
    std::size_t end = text.find('&', from);
    if (end == std::string::npos) end = text.find(' ', from);
    if (end == std::string::npos) end = text.size();
    text.replace(p, end - p, pair);
    return SetPairResult::kReplaced;
  }
  if (HasPair(anchor_key, text)) {
    const std::size_t a = anchor_key.empty() ? 0 : text.find(anchor_key);
    const std::size_t amp = text.find('&', a + anchor_key.size() + 1);
    text.insert(amp == std::string::npos ? text.size() : amp, "&" + pair);
    return SetPairResult::kInserted;
  }
  if (!text.empty() && text.back() != '&') text.push_back('&');
  text.append(pair);
  return SetPairResult::kAppended;
}

bool RemovePair(std::string& text, std::string_view pair_text) {
  if (pair_text.empty()) return false;
  const std::size_t p = text.find(pair_text);
  if (p == std::string::npos) return false;
  const char before = p > 0 ? text[p - 1] : '\0';
  if (p > 0 && before != '?' && before != '&') return false;
  const std::size_t amp = text.find('&', p + pair_text.size());
  if (amp != std::string::npos) {
    text.erase(p, amp - p + 1);
  } else {
    text.erase(before == '&' ? p - 1 : p);
  }
  return true;
}

}  // namespace ld
