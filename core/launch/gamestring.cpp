#include "core/launch/gamestring.h"

#include <climits>

#include "core/base/ascii.h"
#include "core/base/base64.h"

namespace ld {
namespace {

// Value of a pair whose "=" ends just before value_start: up to the next "&".
std::string_view ValueFrom(std::string_view text, std::size_t value_start) {
  if (value_start >= text.size()) return {};
  const std::size_t amp = text.find('&', value_start);
  return text.substr(value_start,
                     amp == std::string_view::npos ? std::string_view::npos : amp - value_start);
}

}  // namespace

GamestringFormat FormatOfCommandLine(std::string_view command_line) {
  return command_line.find(kNewFormatMarker) != std::string_view::npos ? GamestringFormat::kNew
                                                                       : GamestringFormat::kOld;
}

std::size_t SkipPrefix(std::string_view text, std::string_view marker) {
  const std::size_t at = text.find(marker);
  return at == std::string_view::npos ? at : at + marker.size();
}

std::size_t PairValue(std::string_view text, std::string_view pair_text, std::string* value) {
  if (pair_text.empty()) return 0;
  const std::size_t at = text.find(pair_text);
  if (at == std::string_view::npos) return 0;
  if (value) value->assign(ValueFrom(text, at + pair_text.size()));
  return pair_text.size();
}

std::string AnalysisValue(std::string_view text, std::string_view key) {
  const std::size_t at = text.find(key);
  if (at == std::string_view::npos) return {};
  const std::size_t eq = text.find('=', at);
  if (eq == std::string_view::npos) return {};
  return std::string(ValueFrom(text, eq + 1));
}

std::string NamedParameter(std::string_view text, std::string_view name, bool* found) {
  if (found) *found = false;
  const std::size_t n = name.size();
  for (std::size_t i = 0; i + n < text.size(); ++i) {
    bool match = true;
    for (std::size_t k = 0; k < n && match; ++k)
      match = AsciiLower(text[i + k]) == AsciiLower(name[k]);
    if (!match || text[i + n] != '=') continue;
    if (found) *found = true;
    return Base64Decode(ValueFrom(text, i + n + 1));
  }
  return {};
}

bool HasPair(std::string_view key, std::string_view text) {
  std::string pair(key);
  pair.push_back('=');
  return text.find(pair) != std::string_view::npos;
}

int LeadingInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) v = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return static_cast<int>(-v);
  return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

char ZoneCode(std::string_view text, GamestringFormat format) {
  if (format == GamestringFormat::kNew) {
    bool found = false;
    const std::string p2 = NamedParameter(text, "P2", &found);
    if (!found) return 0;
    switch (static_cast<unsigned>(LeadingInt(p2)) & 0xF00u) {
      case 0x100u:
        return '3';
      case 0x400u:
        return '1';
      default:
        return 0;
    }
  }
  constexpr std::string_view kZonePair = "&p189=";
  const std::size_t at = text.find(kZonePair);
  if (at == std::string_view::npos || at + kZonePair.size() >= text.size()) return 0;
  return text[at + kZonePair.size()];
}

std::string GameIdOfGamestring(std::string_view text, GamestringFormat format) {
  if (format == GamestringFormat::kNew) return NamedParameter(text, "P1");
  std::string id;
  PairValue(text, "k22e=", &id);
  return id;
}

}  // namespace ld
