#include "core/catalogue/catalogue_edit.h"

#include <algorithm>
#include <cstdio>

#include "core/catalogue/catalogue.h"
#include "core/profile/profile_file.h"

namespace ld {
namespace {

ProfileFile Snapshot(const ProfileWriter& writer) {
  ProfileFile file;
  file.Parse(writer.Text());
  return file;
}

// Number of consecutive present GameID keys from GameID1.
int PresentKeyCount(const ProfileReader& reader, const std::string& section) {
  std::string value;
  int count = 0;
  while (ReadPresentKey(reader, section, GameIdKey(count + 1), &value)) ++count;
  return count;
}

bool WordListsGame(const std::string& word, const std::string& game_id) {
  return SectionListsGame({word}, game_id);
}

}  // namespace

std::vector<std::string> ReadGameIdList(const ProfileWriter& writer, const std::string& section) {
  return ReadGameIdList(Snapshot(writer), section);
}

bool AddGameToIdList(ProfileWriter* writer, const std::string& section,
                     const std::string& game_id) {
  ProfileFile file = Snapshot(*writer);
  std::vector<std::string> games = ReadGameIdList(file, section);
  if (std::find(games.begin(), games.end(), game_id) != games.end()) return false;
  writer->SetValue(section, GameIdKey(PresentKeyCount(file, section) + 1), game_id);
  return true;
}

bool RemoveGameFromIdList(ProfileWriter* writer, const std::string& section,
                          const std::string& game_id) {
  ProfileFile file = Snapshot(*writer);
  std::vector<std::string> games = ReadGameIdList(file, section);
  auto end = std::remove(games.begin(), games.end(), game_id);
  if (end == games.end()) return false;
  games.erase(end, games.end());
  int count = PresentKeyCount(file, section);
  for (int i = 1; i <= count; ++i) writer->RemoveKey(section, GameIdKey(i));
  for (std::size_t i = 0; i < games.size(); ++i)
    writer->SetValue(section, GameIdKey(static_cast<int>(i) + 1), games[i]);
  return true;
}

bool SetGameListed(ProfileWriter* writer, const std::string& section, const std::string& game_id,
                   bool listed) {
  bool now = SectionListsGame(Snapshot(*writer).GetSection(section), game_id);
  if (listed == now) return false;
  if (listed) return writer->AddLine(section, game_id);
  return writer->EditLines(section, [&game_id](std::string& line) {
    // Key lines ("a=b") and comments are never words of the list.
    if (line[0] == ';') return true;
    std::vector<std::string> words = SplitSectionWords(line);
    auto keep = std::remove_if(words.begin(), words.end(), [&game_id](const std::string& w) {
      return WordListsGame(w, game_id);
    });
    if (keep == words.end()) return true;
    words.erase(keep, words.end());
    if (words.empty()) return false;
    std::string joined;
    for (const std::string& w : words) joined += (joined.empty() ? "" : ",") + w;
    line = joined;
    return true;
  });
}

}  // namespace ld
