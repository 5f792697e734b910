// Field splitting of one update-list line. Fields end at a tab, CR, LF, NUL or
// comma, and at a space unless spaces are allowed (paths, file names, the
// version). A field that runs to the end of the line without meeting a
// delimiter is not returned, which is why the last field of a line needs its
// line feed. Views point into the caller's line; nothing is copied.
#pragma once

#include <cstddef>
#include <string_view>

namespace ld {

class UpdateListTokenizer {
 public:
  explicit UpdateListTokenizer(std::string_view line) : line_(line) {}

  // The next field into *field. False when the line is used up or the field
  // found no delimiter before the end (then *field is empty and the tokenizer
  // stays at the end). A returned field may be empty only at the start of the
  // line (",x" has an empty first field).
  bool Next(bool spaces_allowed, std::string_view* field);

  // Back to the start of the line, to read the first field again another way.
  void Reset() { pos_ = 0; }

 private:
  std::string_view line_;
  std::size_t pos_ = 0;
};

}  // namespace ld
