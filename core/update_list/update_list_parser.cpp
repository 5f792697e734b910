#include "core/update_list/update_list_parser.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "core/base/ascii.h"
#include "core/update_list/update_list_tokenizer.h"

namespace ld {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Drops every c at both ends.
std::string_view Trim(std::string_view text, char c) {
  while (!text.empty() && text.front() == c) text.remove_prefix(1);
  while (!text.empty() && text.back() == c) text.remove_suffix(1);
  return text;
}

}  // namespace

UpdateListParser::UpdateListParser(UpdateList* list, UpdateListFolders folders)
    : list_(list), folders_(std::move(folders)) {}

void UpdateListParser::ParseText(std::string_view text) {
  while (!text.empty()) {
    std::size_t len = text.size() < kUpdateListMaxLine ? text.size() : kUpdateListMaxLine;
    const std::size_t lf = text.substr(0, len).find('\n');
    if (lf != std::string_view::npos) len = lf + 1;
    rest_ = text.substr(len);
    ParseLine(text.substr(0, len));
    text.remove_prefix(len);
  }
}

void UpdateListParser::ParseLine(std::string_view line) {
  ++lines_;
  // A CR at either end is not part of the line; one before the LF is a
  // delimiter like any other.
  if (!line.empty() && line.front() == '\r') line.remove_prefix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

  UpdateListTokenizer tokens(line);
  std::string_view first;
  tokens.Next(false, &first);
  if (first.empty()) return;
  switch (first.front()) {
    case '[':
      ParseSectionLine(first);
      return;
    case '/':
    case '<':
      ParseDirectoryLine(line);
      return;
    case '!':
      return;
    default:
      break;
  }
  if (header_keys_ < kUpdateListHeaderKeys) {
    ParseHeaderKey(line, first);
  } else {
    ParseFileLine(line);
  }
}

void UpdateListParser::ParseSectionLine(std::string_view field) {
  if (EqualsIgnoreAsciiCase(field, "[HEADER]")) {
    section_ = UpdateListSection::kHeader;
  } else if (EqualsIgnoreAsciiCase(field, "[INSTALL]")) {
    header_keys_ = kUpdateListHeaderKeys;
    section_ = UpdateListSection::kInstall;
  } else if (EqualsIgnoreAsciiCase(field, "[UNINSTALL]")) {
    section_ = UpdateListSection::kUninstall;
  } else if (EqualsIgnoreAsciiCase(field, "[SETUP_INSTALL]")) {
    section_ = UpdateListSection::kSetupInstall;
  } else {
    section_ = UpdateListSection::kNone;
  }
  // A file line of the new section must not join the last directory of the
  // previous one.
  current_dir_ = -1;
}

std::vector<UpdateDirEntry>* UpdateListParser::SectionList() {
  switch (section_) {
    case UpdateListSection::kInstall:
      return &list_->install;
    case UpdateListSection::kUninstall:
      return &list_->uninstall;
    case UpdateListSection::kSetupInstall:
      return &list_->setup_install;
    default:
      return nullptr;
  }
}

void UpdateListParser::ParseDirectoryLine(std::string_view line) {
  if (header_keys_ != kUpdateListHeaderKeys) {
    header_keys_ = kUpdateListHeaderKeys;
    // A list that starts with directories has its install entries there. An
    // uninstall or setup-install section keeps its meaning even when the
    // header above it was short, so its files are never installed instead.
    if (section_ != UpdateListSection::kUninstall && section_ != UpdateListSection::kSetupInstall) {
      section_ = UpdateListSection::kInstall;
      current_dir_ = -1;
    }
  }
  std::vector<UpdateDirEntry>* dirs = SectionList();
  if (dirs == nullptr) return;  // outside a known section the current directory stays

  UpdateListTokenizer tokens(line);
  std::string_view field;
  tokens.Next(true, &field);
  // Every rejected directory line also drops the files listed under it.
  current_dir_ = -1;
  if (field.empty()) return;

  std::string path;
  if (field.front() == '<') {
    // The token is recognised by its first letters; its closing character is
    // not examined.
    const std::string_view token = field.substr(1);
    std::string_view root;
    std::size_t replaced = 0;
    if (StartsWith(token, "WINDOWS")) {
      root = folders_.windows;
      replaced = 9;
    } else if (StartsWith(token, "SYSTEM")) {
      root = folders_.system;
      replaced = 8;
    } else if (StartsWith(token, "TEMP")) {
      root = folders_.temp;
      if (!root.empty() && root.back() == '\\') root.remove_suffix(1);
      replaced = 6;
    } else {
      return;
    }
    path.assign(root);
    if (field.size() > replaced) path.append(field.substr(replaced));
  } else {
    path.assign(field);
  }
  for (char& c : path)
    if (c == '/') c = '\\';
  if (path.size() > kUpdateListMaxName) return;

  dirs->push_back(UpdateDirEntry{std::move(path), {}});
  current_dir_ = static_cast<long>(dirs->size() - 1);
  dirs->back().files.reserve(CountFileLinesAhead());
}

std::size_t UpdateListParser::CountFileLinesAhead() const {
  // Lines up to the next directory or section line; comments and rejected
  // lines make it an upper bound, which is all a reservation needs.
  std::size_t count = 0;
  std::string_view rest = rest_;
  while (!rest.empty()) {
    std::size_t i = 0;
    while (i < rest.size() && (rest[i] == ' ' || rest[i] == '\t' || rest[i] == '\r')) ++i;
    if (i < rest.size() && (rest[i] == '/' || rest[i] == '<' || rest[i] == '[')) break;
    ++count;
    const std::size_t lf = rest.find('\n');
    if (lf == std::string_view::npos) break;
    rest.remove_prefix(lf + 1);
  }
  return count;
}

void UpdateListParser::ParseHeaderKey(std::string_view line, std::string_view key) {
  UpdateListTokenizer tokens(line);
  std::string_view ignored;
  tokens.Next(false, &ignored);
  std::string_view value;
  UpdateList& l = *list_;
  if (EqualsIgnoreAsciiCase(key, "prjname")) {
    tokens.Next(false, &value);
    l.project_name.assign(value);
  } else if (EqualsIgnoreAsciiCase(key, "pubdate")) {
    tokens.Next(false, &value);
    ParseListDateTime(value, &times_, &l.publication_time);
  } else if (EqualsIgnoreAsciiCase(key, "tchksum")) {
    tokens.Next(false, &value);
    l.total_checksum = ParseListNumber(value);
  } else if (EqualsIgnoreAsciiCase(key, "tfileno")) {
    tokens.Next(false, &value);
    l.total_file_count = ParseListNumber(value);
  } else if (EqualsIgnoreAsciiCase(key, "tzipsize")) {
    tokens.Next(false, &value);
    l.total_zip_size = ParseListNumber(value);
  } else if (EqualsIgnoreAsciiCase(key, "downloadurl")) {
    tokens.Next(false, &value);
    l.download_url.assign(Trim(value, '"'));
  } else if (EqualsIgnoreAsciiCase(key, "version")) {
    if (tokens.Next(true, &value) && !Trim(value, ' ').empty()) {
      l.version.assign(Trim(value, ' '));
    } else {
      l.version = kUpdateListDefaultVersion;
    }
  } else {
    return;  // unknown keys are not counted
  }
  ++header_keys_;
}

void UpdateListParser::ParseFileLine(std::string_view line) {
  std::vector<UpdateDirEntry>* dirs = SectionList();
  if (dirs == nullptr || current_dir_ < 0) return;
  UpdateDirEntry& dir = (*dirs)[static_cast<std::size_t>(current_dir_)];

  UpdateListTokenizer tokens(line);
  std::string_view name;
  tokens.Next(true, &name);
  if (name.empty() || name.size() > kUpdateListMaxName) return;

  if (section_ == UpdateListSection::kUninstall) {
    dir.files.emplace_back();
    dir.files.back().name.assign(name);
    return;
  }

  std::string_view checksum, size, zip_size, when;
  tokens.Next(false, &checksum);
  tokens.Next(false, &size);
  tokens.Next(false, &zip_size);
  tokens.Next(false, &when);
  TimeValue time = 0;
  if (ParseListDateTime(when, &times_, &time) == ListDateTimeForm::kRejected) return;

  dir.files.emplace_back();
  UpdateFileEntry& f = dir.files.back();
  f.name.assign(name);
  f.checksum = static_cast<uint32_t>(ParseListNumber(checksum));
  f.size = static_cast<uint32_t>(ParseListNumber(size));
  f.zip_size = static_cast<uint32_t>(ParseListNumber(zip_size));
  f.time = time;
}

void ParseUpdateList(std::string_view text, const UpdateListFolders& folders, UpdateList* list) {
  UpdateListParser parser(list, folders);
  parser.ParseText(text);
}

bool LoadUpdateList(const std::string& path, const UpdateListFolders& folders, UpdateList* list) {
  // Read in binary and split here rather than through the C library's text
  // mode, so that every platform sees the same bytes (CR handling is the
  // parser's). Pieces of a reused buffer keep a large list from being held
  // twice in memory; cutting after a line feed, or at a multiple of the line
  // limit inside one long line, splits lines exactly as a whole read would.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) return false;
  UpdateListParser parser(list, folders);
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  std::string buffer(kChunk + kUpdateListMaxLine, '\0');
  std::size_t held = 0;  // bytes carried over from the previous piece
  for (;;) {
    const std::size_t got = std::fread(&buffer[held], 1, kChunk, file.get());
    held += got;
    if (got < kChunk) break;
    const std::string_view data(buffer.data(), held);
    // The buffer starts at a piece boundary; the text after its last line
    // feed is cut into whole pieces too, so that less than one line limit is
    // carried over.
    const std::size_t lf = data.rfind('\n');
    const std::size_t line_start = lf == std::string_view::npos ? 0 : lf + 1;
    const std::size_t cut =
        line_start + (held - line_start) / kUpdateListMaxLine * kUpdateListMaxLine;
    parser.ParseText(data.substr(0, cut));
    std::memmove(&buffer[0], &buffer[cut], held - cut);
    held -= cut;
  }
  if (std::ferror(file.get())) return false;
  parser.ParseText(std::string_view(buffer.data(), held));
  return true;
}

}  // namespace ld
