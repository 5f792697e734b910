// The portable ProfileReader: parses a whole profile file once and answers
// from memory, following the rules of the Windows profile functions so that
// ldtool and the tests see a catalogue exactly as the starter does.
//
// Rules beyond those of core/profile/profile_reader.h, kept because the system
// behaves so: lines end at "\r" or "\n"; a UTF-8 byte-order mark is skipped;
// blanks are space, tab, CR, LF, VT, FF and Ctrl-Z; a section header runs
// from "[" to the last "]" of the line; lines before the first header form a
// section with the empty name; a line with an empty key name ("=x") directly
// after another such line is dropped; ';' lines are keys that GetSection
// leaves out; the requested section name is trimmed for GetString and GetInt
// but not for GetSection. Case folding is ASCII only.
//
// Threads: immutable after Load, so it may be shared by readers. Load fails
// only when an existing file cannot be read; a missing file is empty.
#pragma once

#include <string>
#include <vector>

#include "core/profile/profile_reader.h"

namespace ld {

class ProfileFile : public ProfileReader {
 public:
  ProfileFile() = default;

  // Reads and parses path. Returns true when the file was read; false when
  // it is missing or unreadable, in which case the document is empty and
  // every answer is a default.
  bool Load(const std::string& path);
  // Parses text as if it were a file's contents.
  void Parse(const std::string& text);

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& def_value,
                        std::size_t buffer_size = kProfileValueBufferSize) const override;
  int GetInt(const std::string& section, const std::string& key, int def_value) const override;
  std::vector<std::string> GetSection(const std::string& section) const override;

  // Section names in file order, duplicates included (the leading nameless
  // section only when it has lines).
  std::vector<std::string> SectionNames() const;

 private:
  struct Entry {
    std::string name;
    std::string value;
    bool has_value = false;  // the line had an "="
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const Section* FindSection(const std::string& name) const;

  std::vector<Section> sections_;
};

// Reads a whole file as bytes; false (and empty text) when it cannot be
// opened or read, a folder included.
bool ReadProfileText(const std::string& path, std::string* text);

// Helpers shared with the INI editor so both agree on what a name is.
bool IsProfileSpace(char c);
std::string TrimProfileSpace(const std::string& s);
bool ProfileNameEquals(const std::string& a, const std::string& b);

}  // namespace ld
