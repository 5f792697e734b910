// Edits of the game kind catalogue for the publishing tool, built on the INI
// editor so the rest of an operator's file stays as it was. Each edit keeps
// the file readable by the starter's rules: GameID lists stay gap-free (the
// starter stops at the first absent key, so a gap would hide every later
// game) and word lists are matched the way the starter matches them.
//
// Single-threaded tool code; edits cannot fail (saving is the writer's).
#pragma once

#include <string>
#include <vector>

#include "core/profile/profile_writer.h"

namespace ld {

// Adds game_id to the GameID list of section unless the starter would
// already read it there; the key is the first absent "GameID%d". Returns
// true when the file changed.
bool AddGameToIdList(ProfileWriter* writer, const std::string& section, const std::string& game_id);

// Removes game_id (compared exactly, as the starter compares) from the
// GameID list of section and renumbers the rest from GameID1 so no game
// after it is lost. Keys after an existing gap are left alone. Returns true
// when the file changed.
bool RemoveGameFromIdList(ProfileWriter* writer, const std::string& section,
                          const std::string& game_id);

// Lists or unlists game_id in a word-list section ("unity_games",
// "no_base2005"). Listing adds a line with the id unless a word already
// lists it; unlisting removes every word that lists it, dropping lines left
// empty and joining the remaining words of a shared line with ",". Returns
// true when the file changed.
bool SetGameListed(ProfileWriter* writer, const std::string& section, const std::string& game_id,
                   bool listed);

// The GameID list of section as the starter would read it from the writer's
// current text.
std::vector<std::string> ReadGameIdList(const ProfileWriter& writer, const std::string& section);

}  // namespace ld
