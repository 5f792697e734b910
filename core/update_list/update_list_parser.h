// Reads ".hul" text into an UpdateList. The rules (line kinds, sections,
// header keys, directory roots, file lines) are those the download servers'
// lists have always been written for; unreadable content never fails a load,
// it is skipped line by line.
//
// One parser per document and per load, on the caller's thread (the
// installation driver, or ldtool's main thread). Loading only reads the file
// through the standard library.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/update_list/update_list.h"
#include "core/update_list/update_list_fields.h"
#include "core/update_list/update_list_folders.h"

namespace ld {

// Longest line the list format knows; a longer physical line is read as
// several lines of this many bytes (and a last shorter one).
inline constexpr std::size_t kUpdateListMaxLine = 4095;

// Header keys that close the header once read (a repeated key counts again).
inline constexpr int kUpdateListHeaderKeys = 7;

enum class UpdateListSection { kNone, kHeader, kInstall, kUninstall, kSetupInstall };

class UpdateListParser {
 public:
  // Entries are appended to *list, which must outlive the parser; roots of
  // directory lines resolve against folders.
  UpdateListParser(UpdateList* list, UpdateListFolders folders);

  // Splits text into lines of the format (up to and including '\n', at most
  // kUpdateListMaxLine bytes each) and parses each.
  void ParseText(std::string_view text);

  // One line as read, its '\n' included when it had one.
  void ParseLine(std::string_view line);

  int header_key_count() const { return header_keys_; }
  UpdateListSection section() const { return section_; }
  std::size_t lines_read() const { return lines_; }

 private:
  void ParseSectionLine(std::string_view field);
  void ParseDirectoryLine(std::string_view line);
  void ParseHeaderKey(std::string_view line, std::string_view key);
  void ParseFileLine(std::string_view line);
  std::vector<UpdateDirEntry>* SectionList();
  std::size_t CountFileLinesAhead() const;

  UpdateList* list_;
  UpdateListFolders folders_;
  int header_keys_ = 0;
  UpdateListSection section_ = UpdateListSection::kHeader;
  // Index into the current section's list; -1 until a directory line of the
  // section is read, and after a rejected one, so that file lines never join
  // a directory they were not listed under.
  long current_dir_ = -1;
  std::size_t lines_ = 0;
  // Text after the line being parsed, when ParseText drives; lets a new
  // directory reserve room for its files in one allocation.
  std::string_view rest_;
  LocalTimeCache times_;
};

// Loads the file at path into *list (adding to what it holds). False only
// when the file cannot be opened or read (after a read error part way, *list
// holds the lines read before it); its content never fails the load.
bool LoadUpdateList(const std::string& path, const UpdateListFolders& folders, UpdateList* list);

// Parses text already in memory (tests, ldtool).
void ParseUpdateList(std::string_view text, const UpdateListFolders& folders, UpdateList* list);

}  // namespace ld
