#include "core/update_list/update_list_tokenizer.h"

namespace ld {
namespace {

// Lookup table: 1 = always a delimiter, 2 = space (a delimiter unless spaces
// are allowed). One load per byte keeps the hot loop of a large list short.
struct DelimiterTable {
  unsigned char kind[256] = {};
  constexpr DelimiterTable() {
    kind[static_cast<unsigned char>('\t')] = 1;
    kind[static_cast<unsigned char>('\r')] = 1;
    kind[static_cast<unsigned char>('\n')] = 1;
    kind[0] = 1;
    kind[static_cast<unsigned char>(',')] = 1;
    kind[static_cast<unsigned char>(' ')] = 2;
  }
};
constexpr DelimiterTable kDelimiters;

inline unsigned Kind(char c) { return kDelimiters.kind[static_cast<unsigned char>(c)]; }

}  // namespace

bool UpdateListTokenizer::Next(bool spaces_allowed, std::string_view* field) {
  *field = std::string_view();
  const std::size_t end = line_.size();
  std::size_t i = pos_;
  if (i == 0) {
    while (i < end && (line_[i] == ' ' || line_[i] == '\t')) ++i;
  }
  const std::size_t start = i;
  const unsigned stop_mask = spaces_allowed ? 1u : 3u;
  while (i < end && (Kind(line_[i]) & stop_mask) == 0) ++i;
  if (i >= end) {
    pos_ = end;
    return false;
  }
  *field = line_.substr(start, i - start);
  while (i < end && Kind(line_[i]) != 0) ++i;
  pos_ = i;
  return true;
}

}  // namespace ld
