#include "core/self_update/version_info.h"

#include <climits>
#include <cstdio>
#include <fstream>

namespace ld {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One "%d" conversion at *pos: white space, optional sign, at least one
// digit. Out-of-range numbers are clamped rather than left undefined.
bool ReadInt(std::string_view text, std::size_t* pos, int* value) {
  std::size_t i = *pos;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size() || !IsDigit(text[i])) return false;
  long long magnitude = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (magnitude <= static_cast<long long>(INT_MAX) + 1)
      magnitude = magnitude * 10 + (text[i] - '0');
  }
  if (negative) {
    *value =
        magnitude > static_cast<long long>(INT_MAX) + 1 ? INT_MIN : static_cast<int>(-magnitude);
  } else {
    *value = magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
  }
  *pos = i;
  return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

PackedVersion PackVersion(int a, int b, int c, int d) {
  auto part = [](int v) { return static_cast<uint32_t>(v) & 0xFFFFu; };
  PackedVersion packed;
  packed.high = (part(a) << 16) | part(b);
  packed.low = (part(c) << 16) | part(d);
  return packed;
}

PublishedVersion ParseVersionInfo(std::string_view text) {
  PublishedVersion v;
  std::size_t pos = 0;
  bool complete = true;
  for (int i = 0; i < 4 && complete; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != '.') {
        complete = false;
        break;
      }
      ++pos;
    }
    complete = ReadInt(text, &pos, &v.parts[i]);
  }
  if (complete) {
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    // A NUL ends the word as it ends a C string.
    std::size_t end = pos;
    while (end < text.size() && end - pos < kOrderWordMax && !IsSpace(text[end]) &&
           text[end] != '\0')
      ++end;
    v.order_word.assign(text.data() + pos, end - pos);
    v.rollback = EqualsNoCase(v.order_word, "rollback");
  }
  v.packed = PackVersion(v.parts[0], v.parts[1], v.parts[2], v.parts[3]);
  return v;
}

bool ReadVersionInfoFile(const std::string& path, PublishedVersion* out) {
  if (out == nullptr) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::string text(kVersionInfoReadLimit, '\0');
  file.read(&text[0], static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(file.gcount()));
  *out = ParseVersionInfo(text);
  return true;
}

bool NeedsUpdate(const PublishedVersion& published, const PackedVersion& own) {
  const PackedVersion& p = published.packed;
  if (published.rollback) return p.high != own.high || p.low != own.low;
  return p.high > own.high || (p.high == own.high && p.low > own.low);
}

std::string VersionText(const PublishedVersion& published) {
  char buffer[kVersionTextMax + 1];
  std::snprintf(buffer, sizeof buffer, "%d.%d.%d.%d", published.parts[0], published.parts[1],
                published.parts[2], published.parts[3]);
  return buffer;
}

bool ParseDottedVersion(std::string_view text, PackedVersion* out) {
  if (out == nullptr) return false;
  int parts[4] = {0, 0, 0, 0};
  std::size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != '.') return false;
      ++pos;
    }
    const std::size_t start = pos;
    long value = 0;
    while (pos < text.size() && IsDigit(text[pos]) && pos - start < 6)
      value = value * 10 + (text[pos++] - '0');
    if (pos == start || value > 0xFFFF) return false;
    parts[i] = static_cast<int>(value);
  }
  if (pos != text.size()) return false;
  *out = PackVersion(parts[0], parts[1], parts[2], parts[3]);
  return true;
}

}  // namespace ld
