// A small editor for profile (INI) files, used by ldtool's publish command to
// create or update entries of "gamekind.ini" without disturbing the rest of
// the file: every line it does not change is kept byte for byte, comments and
// unknown sections included.
//
// Names are matched as the readers match them (core/profile/profile_reader.h): without
// regard to case, trimmed, first section and first key of a name. Keys are
// added at the end of their section (after its last non-blank line); missing
// sections are added at the end of the file. New lines use the file's own
// line ending ("\r\n" for a new file). Values are written as given; readers
// trim them and strip a matching pair of quotes. The nameless part before
// the first header cannot be edited (an empty section name does nothing).
//
// Threads: single-threaded tool code; one object per file. Failures: Load and
// Save return false when the file cannot be read or written; editing calls
// cannot fail.
#pragma once

#include <string>
#include <vector>

#include "core/profile/profile_file.h"

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
  // Removes every line of that key from section (a later duplicate would
  // otherwise become visible); false when there was none.
  bool RemoveKey(const std::string& section, const std::string& key);

  // For word-list sections such as "unity_games": adds line to section
  // unless a line equal to it (trimmed, without regard to case) is already
  // there; creates the section. Returns true when a line was added.
  bool AddLine(const std::string& section, const std::string& line);
  // Removes every line equal to line (trimmed, without regard to case) from
  // section; returns how many were removed.
  int RemoveLine(const std::string& section, const std::string& line);

  // Calls edit on each line of the section after its header (trimmed text,
  // blank lines skipped). edit may change the line; returning false removes
  // it. Returns true when anything changed. For edits of word lists that
  // hold several names on one line.
  template <typename Fn>
  bool EditLines(const std::string& section, Fn edit);

  // True when the section exists.
  bool HasSection(const std::string& section) const;

 private:
  struct Line {
    std::string text;  // without the line ending
    std::string eol;   // "\r\n", "\n", "\r", or "" for a last line without one
  };
  // Index of the header line of the first section named section, or -1.
  int FindSection(const std::string& section) const;
  // One past the last line belonging to the section whose header is at
  // header (the next header or the end).
  int SectionEnd(int header) const;
  // Where a new line of the section goes: after its last non-blank line.
  int InsertionPoint(int header) const;
  int AddSection(const std::string& section);
  void InsertLine(int at, const std::string& text);

  std::vector<Line> lines_;
  std::string eol_ = "\r\n";  // used for added lines
  bool bom_ = false;
};

template <typename Fn>
bool ProfileWriter::EditLines(const std::string& section, Fn edit) {
  int header = FindSection(section);
  if (header < 0) return false;
  bool changed = false;
  int end = SectionEnd(header);
  for (int i = header + 1; i < end;) {
    std::string text = TrimProfileSpace(lines_[i].text);
    if (text.empty()) {
      ++i;
      continue;
    }
    std::string edited = text;
    if (!edit(edited)) {
      lines_.erase(lines_.begin() + i);
      --end;
      changed = true;
      continue;
    }
    if (edited != text) {
      lines_[i].text = edited;
      changed = true;
    }
    ++i;
  }
  return changed;
}

}  // namespace ld
