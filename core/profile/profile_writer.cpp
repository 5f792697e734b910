#include "core/profile/profile_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace ld {
namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// The header name of a line, or false when the line is no header; the same
// test the readers apply.
bool HeaderName(const std::string& raw, std::string* name) {
  std::string line = TrimProfileSpace(raw);
  if (line.empty() || line[0] != '[') return false;
  std::size_t close = line.rfind(']');
  if (close == std::string::npos || close == 0) return false;
  *name = TrimProfileSpace(line.substr(1, close - 1));
  return true;
}

// The key name of a key line (the whole trimmed line when it has no "=").
std::string KeyName(const std::string& raw) {
  std::string line = TrimProfileSpace(raw);
  return TrimProfileSpace(line.substr(0, line.find('=')));
}

}  // namespace

bool ProfileWriter::Load(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    SetText(std::string());
    return !ec;
  }
  std::string text;
  bool ok = ReadProfileText(path, &text);
  SetText(text);
  return ok;
}

void ProfileWriter::SetText(const std::string& text) {
  lines_.clear();
  bom_ = text.compare(0, 3, kUtf8Bom) == 0;
  std::size_t at = bom_ ? 3 : 0;
  eol_ = "\r\n";
  bool eol_seen = false;
  while (at < text.size()) {
    std::size_t end = text.find_first_of("\r\n", at);
    Line line;
    if (end == std::string::npos) {
      line.text = text.substr(at);
      at = text.size();
    } else {
      line.text = text.substr(at, end - at);
      std::size_t len =
          (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
      line.eol = text.substr(end, len);
      at = end + len;
      if (!eol_seen) eol_ = line.eol;
      eol_seen = true;
    }
    lines_.push_back(std::move(line));
  }
}

std::string ProfileWriter::Text() const {
  std::string out = bom_ ? kUtf8Bom : "";
  for (const Line& l : lines_) out += l.text + l.eol;
  return out;
}

bool ProfileWriter::Save(const std::string& path) const {
  std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    std::string text = Text();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
      out.close();
      std::remove(tmp.c_str());
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) std::filesystem::remove(tmp, ec);
  return !ec;
}

int ProfileWriter::FindSection(const std::string& section) const {
  std::string wanted = TrimProfileSpace(section);
  std::string name;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (HeaderName(lines_[i].text, &name) && ProfileNameEquals(name, wanted))
      return static_cast<int>(i);
  }
  return -1;
}

int ProfileWriter::SectionEnd(int header) const {
  std::string name;
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines_.size(); ++i) {
    if (HeaderName(lines_[i].text, &name)) return static_cast<int>(i);
  }
  return static_cast<int>(lines_.size());
}

int ProfileWriter::InsertionPoint(int header) const {
  int at = SectionEnd(header);
  while (at > header + 1 && TrimProfileSpace(lines_[at - 1].text).empty()) --at;
  return at;
}

void ProfileWriter::InsertLine(int at, const std::string& text) {
  // A last line without a line ending gets one before anything follows it.
  if (at > 0 && lines_[at - 1].eol.empty()) lines_[at - 1].eol = eol_;
  lines_.insert(lines_.begin() + at, Line{text, eol_});
}

int ProfileWriter::AddSection(const std::string& section) {
  int at = static_cast<int>(lines_.size());
  // Keep a blank line between the last section and the new one.
  if (at > 0 && !TrimProfileSpace(lines_[at - 1].text).empty()) {
    InsertLine(at, std::string());
    ++at;
  }
  InsertLine(at, "[" + TrimProfileSpace(section) + "]");
  return at;
}

bool ProfileWriter::HasSection(const std::string& section) const {
  return FindSection(section) >= 0;
}

void ProfileWriter::SetValue(const std::string& section, const std::string& key,
                             const std::string& value) {
  if (TrimProfileSpace(section).empty()) return;
  std::string wanted = TrimProfileSpace(key);
  int header = FindSection(section);
  if (header < 0) header = AddSection(section);
  int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i) {
    std::string name = KeyName(lines_[i].text);
    if (!name.empty() && ProfileNameEquals(name, wanted)) {
      lines_[i].text = name + "=" + value;
      return;
    }
  }
  InsertLine(InsertionPoint(header), wanted + "=" + value);
}

bool ProfileWriter::RemoveKey(const std::string& section, const std::string& key) {
  std::string wanted = TrimProfileSpace(key);
  return EditLines(
      section, [&wanted](std::string& line) { return !ProfileNameEquals(KeyName(line), wanted); });
}

bool ProfileWriter::AddLine(const std::string& section, const std::string& line) {
  if (TrimProfileSpace(section).empty()) return false;
  std::string wanted = TrimProfileSpace(line);
  if (wanted.empty()) return false;
  int header = FindSection(section);
  if (header < 0) header = AddSection(section);
  int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i) {
    if (ProfileNameEquals(TrimProfileSpace(lines_[i].text), wanted)) return false;
  }
  InsertLine(InsertionPoint(header), wanted);
  return true;
}

int ProfileWriter::RemoveLine(const std::string& section, const std::string& line) {
  std::string wanted = TrimProfileSpace(line);
  int removed = 0;
  EditLines(section, [&](std::string& text) {
    if (!ProfileNameEquals(text, wanted)) return true;
    ++removed;
    return false;
  });
  return removed;
}

}  // namespace ld
