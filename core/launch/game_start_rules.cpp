#include "core/launch/game_start_rules.h"

#include "core/launch/gamestring.h"

namespace ld {

bool HandoverText(std::string_view second_gamestring, std::string* third_gamestring) {
  const std::size_t at = SkipPrefix(second_gamestring, kAddressPrefix);
  if (at == std::string_view::npos) return false;
  third_gamestring->assign(second_gamestring.substr(at));
  return true;
}

std::string HandoverCaption(const std::string& game_id) {
  return "3rd gamestring (to " + game_id + ".exe)";
}

std::string GameExecutablePath(const std::string& install_folder, const std::string& game_id) {
  return install_folder + "\\" + game_id + ".exe";
}

std::string GameProgramText(const std::string& game_id, bool unity_game) {
  return game_id + (unity_game ? ".exe -popupwindow" : ".exe");
}

std::string CompanionArguments(const std::string& game_id, const std::string& member_id,
                               const std::string& install_folder) {
  return "\"" + game_id + "\" \"" + member_id + "\" \"" + install_folder + "\"";
}

bool ReportsExecutor(const std::string& game_id) {
  std::string upper = game_id;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper == "TRIOKA";
}

std::string MissingExecutableText(const std::string& format, const std::string& title,
                                  const std::string& game_code) {
  std::string text = format;
  std::size_t at = text.find("%s");
  if (at != std::string::npos) {
    text.replace(at, 2, title);
    at = text.find("%s", at + title.size());
    if (at != std::string::npos) text.replace(at, 2, game_code);
  }
  return text;
}

}  // namespace ld
