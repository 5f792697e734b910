#include "core/profile/profile_file.h"

#include <cstdint>
#include <cstdio>

#include "core/base/ascii.h"

namespace ld {
namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
// The system reads integers through a 30-character buffer.
constexpr std::size_t kIntBufferSize = 30;

std::string TrimRight(const std::string& s) {
  std::size_t end = s.size();
  while (end > 0 && IsProfileSpace(s[end - 1])) --end;
  return s.substr(0, end);
}

// Defaults lose trailing spaces (not tabs), but never their first character.
std::string TrimDefault(const std::string& def) {
  std::size_t n = def.size();
  while (n > 1 && def[n - 1] == ' ') --n;
  return def.substr(0, n);
}

// Copies value into a buffer of buffer_size bytes the way the system does:
// a value wrapped in matching quotes loses them. When the value without its
// opening quote exactly fills the buffer, the system drops one more
// character; kept so both readers give the same answer.
std::string CopyEntry(const std::string& value, std::size_t buffer_size) {
  std::size_t start = 0;
  bool quoted = false;
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    quoted = true;
    start = 1;
  }
  std::size_t rest = value.size() - start;  // closing quote included
  std::string out = value.substr(start, std::min(rest, buffer_size - 1));
  if (quoted && buffer_size >= rest && !out.empty()) out.pop_back();
  return out;
}

int ParseProfileInt(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') ++i;
  bool minus = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    minus = s[i] == '-';
    ++i;
  }
  unsigned base = 10;
  if (i + 1 < s.size() && s[i] == '0') {
    if (s[i + 1] == 'x') base = 16;
    if (s[i + 1] == 'o') base = 8;
    if (s[i + 1] == 'b') base = 2;
    if (base != 10) i += 2;
  }
  std::uint32_t total = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'z') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'Z') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      break;
    }
    if (digit >= base) break;
    total = total * base + digit;
  }
  if (minus) total = 0u - total;
  return static_cast<int>(total);
}

}  // namespace

bool IsProfileSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string TrimProfileSpace(const std::string& s) {
  std::size_t begin = 0;
  while (begin < s.size() && IsProfileSpace(s[begin])) ++begin;
  std::size_t end = s.size();
  while (end > begin && IsProfileSpace(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

bool ProfileNameEquals(const std::string& a, const std::string& b) {
  return EqualsIgnoreAsciiCase(a, b);
}

bool ReadProfileText(const std::string& path, std::string* text) {
  text->clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) text->append(buffer, got);
  bool ok = std::ferror(f) == 0;
  std::fclose(f);
  if (!ok) text->clear();
  return ok;
}

bool ProfileFile::Load(const std::string& path) {
  std::string text;
  bool ok = ReadProfileText(path, &text);
  Parse(text);
  return ok;
}

void ProfileFile::Parse(const std::string& text) {
  sections_.assign(1, Section());  // lines before the first header
  std::size_t at = text.compare(0, 3, kUtf8Bom) == 0 ? 3 : 0;
  while (at <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    std::string line = TrimProfileSpace(text.substr(at, end - at));
    at = end + 1;
    if (line.empty()) continue;

    if (line[0] == '[') {
      std::size_t close = line.rfind(']');
      if (close != std::string::npos && close > 0) {
        Section section;
        section.name = TrimProfileSpace(line.substr(1, close - 1));
        sections_.push_back(section);
        continue;
      }
    }

    Entry entry;
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
      entry.name = line;
    } else {
      entry.name = TrimRight(line.substr(0, eq));
      entry.value = TrimProfileSpace(line.substr(eq + 1));
      entry.has_value = true;
    }
    std::vector<Entry>& entries = sections_.back().entries;
    if (entry.name.empty() && !entries.empty() && entries.back().name.empty()) continue;
    entries.push_back(std::move(entry));
  }
}

const ProfileFile::Section* ProfileFile::FindSection(const std::string& name) const {
  for (const Section& s : sections_) {
    if (ProfileNameEquals(s.name, name)) return &s;
  }
  return nullptr;
}

std::string ProfileFile::GetString(const std::string& section, const std::string& key,
                                   const std::string& def_value, std::size_t buffer_size) const {
  if (buffer_size == 0) return std::string();
  const Section* s = FindSection(TrimProfileSpace(section));
  if (s != nullptr) {
    std::string name = TrimProfileSpace(key);
    for (const Entry& e : s->entries) {
      if (!ProfileNameEquals(e.name, name)) continue;
      if (e.has_value) return CopyEntry(e.value, buffer_size);
      break;
    }
  }
  return CopyEntry(TrimDefault(def_value), buffer_size);
}

int ProfileFile::GetInt(const std::string& section, const std::string& key, int def_value) const {
  std::string text = GetString(section, key, std::string(), kIntBufferSize);
  if (text.empty()) return def_value;
  return ParseProfileInt(text);
}

std::vector<std::string> ProfileFile::GetSection(const std::string& section) const {
  std::vector<std::string> lines;
  const Section* s = FindSection(section);
  if (s == nullptr) return lines;
  for (const Entry& e : s->entries) {
    if (!e.name.empty() && e.name[0] == ';') continue;
    lines.push_back(e.has_value ? e.name + "=" + e.value : e.name);
  }
  return lines;
}

std::vector<std::string> ProfileFile::SectionNames() const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    if (i == 0 && sections_[i].entries.empty()) continue;
    names.push_back(sections_[i].name);
  }
  return names;
}

}  // namespace ld
