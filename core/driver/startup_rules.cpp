#include "core/driver/startup_rules.h"

#include "core/launch/gamestring.h"

namespace ld {

std::set<std::string> CommandWords(std::string_view tail) {
  std::set<std::string> words;
  if (tail.size() >= kCommandTailLimit) return words;
  const std::size_t behind = SkipPrefix(tail, kAddressPrefix);
  if (behind != std::string_view::npos) tail.remove_prefix(behind);
  std::size_t i = 0;
  while (i < tail.size()) {
    if (tail[i] == ' ') {
      ++i;
      continue;
    }
    if (tail[i] != '/') {
      ++i;
      continue;
    }
    ++i;
    if (i >= tail.size()) break;
    const std::size_t end = tail.find(' ', i);
    const std::size_t stop = end == std::string_view::npos ? tail.size() : end;
    if (stop > i) words.emplace(tail.substr(i, stop - i));
    i = stop;
  }
  return words;
}

CommandPlan PlanCommands(const std::set<std::string>& words) {
  CommandPlan plan;
  const bool be = words.count("bekind") != 0;
  const bool no = words.count("nokind") != 0;
  plan.be_kind = be && !no;
  plan.no_kind = no && !be;
  const bool korean = words.count("open_korean_folder") != 0;
  const bool ludoria = words.count("open_ludoria_folder") != 0;
  const bool both = words.count("open_folder") != 0;
  plan.open_korean = korean || both;
  plan.open_ludoria = ludoria || both;
  plan.any = be || no || korean || ludoria || both;
  return plan;
}

bool LaunchStringOfCommandLine(std::string_view command_line, std::string* launch_string) {
  const std::size_t exe = command_line.find(".exe");
  if (exe == std::string_view::npos) return false;
  std::size_t start = exe + 4;
  if (start < command_line.size()) ++start;
  std::string_view rest = command_line.substr(start);
  const std::size_t clone = rest.find(kCloneMarker);
  if (clone != std::string_view::npos) rest.remove_prefix(clone + kCloneMarker.size());
  launch_string->assign(rest);
  return true;
}

int AgeClass(std::string_view gamestring) {
  std::string game;
  if (PairValue(gamestring, "k22e=", &game) == 0) return 0;
  if (game != "STONEBAN" && game != "GENERALS") return 0;
  std::string age;
  if (PairValue(gamestring, "ag=", &age) == 0) return 2;
  return LeadingInt(age) < 18 ? 2 : 1;
}

bool AppendSessionId(std::string* gamestring, std::string_view guid) {
  if (gamestring->find("k410e=") != std::string::npos) return false;
  gamestring->append("&k410e=");
  gamestring->append(guid.empty() ? std::string_view(kNilGuid) : guid);
  return true;
}

}  // namespace ld
