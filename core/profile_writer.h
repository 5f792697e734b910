// A small editor for profile (INI) files, used by ldtool's publish command to
// create or update entries of "gamekind.ini" without disturbing the rest of
// the file: every line it does not change is kept byte for byte, comments and
// unknown sections included.
//
// Names are matched as the readers match them (core/profile_reader.h): without
// regard to case, trimmed, first section and first key of a name. Keys are
// added at the end of their section (after its last non-blank line); missing
// sections are added at the end of the file. New lines use the file's own
// line ending ("\r\n" for a new file).
//
// Threads: single-threaded tool code; one object per file. Failures: Load and
// Save return false when the file cannot be read or written; editing calls
// cannot fail.
#pragma once

#include <string>
#include <vector>

namespace ld {

class ProfileWriter {
 public:
  ProfileWriter() = default;

  // Reads path. A missing file is an empty document and succeeds; any other
  // read failure returns false and leaves the document empty.
  bool Load(const std::string& path);
  // Replaces the document with text (for tests and in-memory edits).
  void SetText(const std::string& text);
  // The document as it would be saved.
  std::string Text() const;
  // Writes the document to path (through a temporary file beside it, then
  // renamed, so a reader never sees half a file).
  bool Save(const std::string& path) const;

  // Sets key=value in section, creating the section or the key as needed.
  // An existing key line is rewritten as "key=value" with the key's existing
  // spelling.
  void SetValue(const std::string& section, const std::string& key, const std::string& value);
  // Removes the first key of that name from section; false when absent.
  bool RemoveKey(const std::string& section, const std::string& key);

  // For word-list sections such as "unity_games": adds line to section
  // unless a line equal to it (trimmed, without regard to case) is already
  // there; creates the section. Returns true when a line was added.
  bool AddLine(const std::string& section, const std::string& line);
  // Removes every line equal to line (trimmed, without regard to case) from
  // section; returns how many were removed.
  int RemoveLine(const std::string& section, const std::string& line);

  // True when the section exists.
  bool HasSection(const std::string& section) const;

 private:
  struct Line {
    std::string text;  // without the line ending
  };
  // Index of the header line of the first section named section, or -1.
  int FindSection(const std::string& section) const;
  // One past the last line belonging to the section whose header is at
  // header (the next header or the end).
  int SectionEnd(int header) const;
  // Where a new line of the section goes: after its last non-blank line.
  int InsertionPoint(int header) const;
  int AddSection(const std::string& section);

  std::vector<Line> lines_;
  std::string eol_ = "\r\n";
  bool bom_ = false;
  bool final_eol_ = true;  // the text ended with a line ending
};

}  // namespace ld
