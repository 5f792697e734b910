#include "core/update_list/update_list_writer.h"

#include <cinttypes>
#include <cstdio>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace ld {
namespace {

bool HasDelimiter(std::string_view text) {
  for (char c : text)
    if (c == '\t' || c == '\r' || c == '\n' || c == '\0' || c == ',') return true;
  return false;
}

bool Fail(std::string* error, const std::string& message) {
  if (error != nullptr) *error = message;
  return false;
}

class Writer {
 public:
  Writer(const UpdateListFolders& folders, std::string* error) : error_(error) {
    // Longest folder first: the system folder usually lies inside the
    // Windows folder and must win over it.
    std::string temp = folders.temp;
    if (!temp.empty() && temp.back() == '\\') temp.pop_back();
    roots_[0] = {"<WINDOWS>", folders.windows};
    roots_[1] = {"<SYSTEM>", folders.system};
    roots_[2] = {"<TEMP>", temp};
    for (int i = 0; i < 3; ++i)
      for (int j = i + 1; j < 3; ++j)
        if (roots_[j].folder.size() > roots_[i].folder.size()) std::swap(roots_[i], roots_[j]);
  }

  bool Write(const UpdateList& list) {
    out_ += "[HEADER]\r\n";
    if (!HeaderWord("prjname", list.project_name)) return false;
    out_ += "pubdate ";
    if (!Time(list.publication_time, "pubdate")) return false;
    out_ += "\r\n";
    out_ += "tchksum " + std::to_string(list.total_checksum) + "\r\n";
    out_ += "tfileno " + std::to_string(list.total_file_count) + "\r\n";
    out_ += "tzipsize " + std::to_string(list.total_zip_size) + "\r\n";
    if (!list.download_url.empty() &&
        (list.download_url.front() == '"' || list.download_url.back() == '"'))
      return Fail(error_, "download address must not begin or end with '\"'");
    if (!HeaderWord("downloadurl", list.download_url)) return false;
    const std::string& v = list.version;
    if (v.empty() || HasDelimiter(v) || v.front() == ' ' || v.back() == ' ')
      return Fail(error_, "version '" + v + "' cannot be written");
    out_ += "version " + v + "\r\n";

    out_ += "[INSTALL]\r\n";
    if (!Section(list.install, true)) return false;
    if (!list.uninstall.empty()) {
      out_ += "[UNINSTALL]\r\n";
      if (!Section(list.uninstall, false)) return false;
    }
    if (!list.setup_install.empty()) {
      out_ += "[SETUP_INSTALL]\r\n";
      if (!Section(list.setup_install, true)) return false;
    }
    return true;
  }

  std::string& text() { return out_; }

 private:
  struct Root {
    const char* token;
    std::string folder;
  };

  bool HeaderWord(const char* key, const std::string& value) {
    if (HasDelimiter(value) || value.find(' ') != std::string::npos)
      return Fail(error_, std::string(key) + " '" + value + "' holds a space or separator");
    out_ += key;
    if (!value.empty()) out_ += " " + value;
    out_ += "\r\n";
    return true;
  }

  // "YYYYMMDD-HHMMSS" in local time, or "0" for no time (any length but 13
  // and 15 reads back as 0).
  bool Time(TimeValue t, const std::string& what) {
    if (t == 0) {
      out_ += '0';
      return true;
    }
    BrokenDownTime b;
    if (!BreakDownLocalTime(t, &b) || b.year < 1 || b.year > 9999)
      return Fail(error_, "time of " + what + " cannot be written");
    // Only a repeated local hour may read back as another second; anything
    // else (times the C library cannot convert back) must not be written.
    const TimeValue back = TimeFromFields(b.year, b.month, b.day, b.hour, b.minute, b.second);
    if (back != t) {
      BrokenDownTime c;
      if (back == 0 || !BreakDownLocalTime(back, &c) || c.year != b.year || c.month != b.month ||
          c.day != b.day || c.hour != b.hour || c.minute != b.minute || c.second != b.second)
        return Fail(error_, "time of " + what + " does not read back");
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04u%02u%02u-%02u%02u%02u", unsigned{b.year}, unsigned{b.month},
                  unsigned{b.day}, unsigned{b.hour}, unsigned{b.minute}, unsigned{b.second});
    out_ += buf;
    return true;
  }

  bool Directory(const std::string& path) {
    if (path.empty() || path.size() > kUpdateListMaxName || HasDelimiter(path) ||
        path.find('/') != std::string::npos)
      return Fail(error_, "directory '" + path + "' cannot be written");
    std::string line;
    if (path.front() == '\\') {
      line = path;
    } else {
      for (const Root& r : roots_) {
        if (r.folder.empty() || path.compare(0, r.folder.size(), r.folder) != 0) continue;
        if (path.size() != r.folder.size() && path[r.folder.size()] != '\\') continue;
        line = r.token + path.substr(r.folder.size());
        break;
      }
      if (line.empty())
        return Fail(error_, "directory '" + path + "' is neither relative nor below a root");
    }
    for (char& c : line)
      if (c == '\\') c = '/';
    out_ += line + "\r\n";
    return true;
  }

  bool Name(const std::string& name) {
    if (name.empty() || name.size() > kUpdateListMaxName || HasDelimiter(name))
      return Fail(error_, "file name '" + name + "' cannot be written");
    switch (name.front()) {
      case ' ':
      case '[':
      case '/':
      case '<':
      case '!':
        return Fail(error_, "file name '" + name + "' would be read as another kind of line");
      default:
        break;
    }
    out_ += name;
    return true;
  }

  bool Section(const std::vector<UpdateDirEntry>& dirs, bool with_numbers) {
    for (const UpdateDirEntry& dir : dirs) {
      if (!Directory(dir.path)) return false;
      for (const UpdateFileEntry& f : dir.files) {
        if (!Name(f.name)) return false;
        if (with_numbers) {
          char buf[48];
          std::snprintf(buf, sizeof buf, ",%" PRId32 ",%" PRId32 ",%" PRId32 ",",
                        static_cast<int32_t>(f.checksum), static_cast<int32_t>(f.size),
                        static_cast<int32_t>(f.zip_size));
          out_ += buf;
          if (!Time(f.time, "'" + f.name + "'")) return false;
        }
        out_ += "\r\n";
      }
    }
    return true;
  }

  std::string* error_;
  Root roots_[3];
  std::string out_;
};

}  // namespace

bool WriteUpdateListText(const UpdateList& list, const UpdateListFolders& folders,
                         std::string* text, std::string* error) {
  Writer w(folders, error);
  if (!w.Write(list)) return false;
  *text = std::move(w.text());
  return true;
}

bool WriteUpdateListFile(const UpdateList& list, const UpdateListFolders& folders,
                         const std::string& path, std::string* error) {
  std::string text;
  if (!WriteUpdateListText(list, folders, &text, error)) return false;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) return Fail(error, "cannot create '" + path + "'");
  const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  const bool closed = std::fclose(file.release()) == 0;
  if (!written || !closed) return Fail(error, "cannot write '" + path + "'");
  return true;
}

}  // namespace ld
