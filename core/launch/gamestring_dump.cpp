#include "core/launch/gamestring_dump.h"

#include "core/base/base64.h"
#include "core/launch/gamestring_split.h"

namespace ld {

const CareTable& FirstGamestringCareTable() {
  static const CareTable table = {
      {"ag", false}, {"k22e", false}, {"k401e", false}, {"lang", false},
      {"P", false},  {"P0", true},    {"P1", true},     {"P2", true},
  };
  return table;
}

const CareTable& SecondGamestringCareTable() {
  static const CareTable table = {
      {"k60e", false}, {"k91e", false}, {"k93e", false}, {"k3e", false},
      {"k89e", false}, {"k95e", false}, {"k96e", false}, {"P", false},
      {"P0", true},    {"P1", true},    {"P2", true},
  };
  return table;
}

std::string PartsDump(std::string_view rest, bool second_gamestring) {
  const GamestringParts parts = second_gamestring ? SplitByLength(rest) : SplitByAmpersand(rest);
  const CareTable& care_table =
      second_gamestring ? SecondGamestringCareTable() : FirstGamestringCareTable();
  std::string dont_care;
  std::string care;
  auto line = [](const std::string& key, const std::string& value) {
    return key + "=\"" + value + "\"\n";
  };
  for (const auto& [key, value] : parts) {
    if (key == "k300e") {
      dont_care += "k300e=[TICKET]\n";
    } else if (key == "k301e") {
      dont_care += "k301e=[COOKIE]\n";
    } else if (auto it = care_table.find(key); it != care_table.end()) {
      care += line(key, it->second ? Base64Decode(value) : value);
    } else {
      dont_care += line(key, key == "shutdown" ? Base64Decode(value) : value);
    }
  }
  std::string dump = "--- DONT CARE ---\n" + dont_care + "=== CARE ===\n" + care;
  if (!dump.empty() && dump.back() == '\n') dump.pop_back();
  return dump;
}

std::string LaunchStringDumpText(std::string_view text, bool second_gamestring,
                                 GamestringFormat format) {
  constexpr std::string_view kBlanks = " \t";
  const std::size_t first = text.find_first_not_of(kBlanks);
  text = first == std::string_view::npos ? std::string_view() : text.substr(first);

  std::string_view whole = text;
  std::string_view others;
  if (!second_gamestring) {
    const std::size_t blank = text.find_first_of(kBlanks);
    if (blank != std::string_view::npos) {
      whole = text.substr(0, blank);
      const std::size_t next = text.find_first_not_of(kBlanks, blank);
      if (next != std::string_view::npos) others = text.substr(next);
    }
  }

  const bool new_format = format == GamestringFormat::kNew;
  const std::string_view separators = new_format ? "P=&" : second_gamestring ? ";" : "?";
  std::string_view head;
  std::string_view rest = whole;
  const std::size_t sep = whole.find_first_of(separators);
  if (sep != std::string_view::npos) {
    head = whole.substr(0, sep);
    rest = whole.substr(new_format ? sep : sep + 1);
  }

  std::string out = "* ";
  out += second_gamestring ? "2nd Gamestring" : "Commandline";
  out += " *\n";
  out.append(text);
  out += "\n";
  if (!head.empty()) {
    out += "** head **\n";
    out.append(head);
    out += "\n";
  }
  out += "** <key=value> parts **\n";
  out += PartsDump(rest, second_gamestring);
  out += "\n";
  if (!others.empty()) {
    out += "** Other Params **\n";
    out.append(others);
  }
  return out;
}

}  // namespace ld
