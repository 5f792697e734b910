// Compact text form of an update list for table-driven expectations. Times
// appear as local "YYYYMMDD-HHMMSS" (or "0"), so expectations hold in any
// time zone.
#pragma once

#include <cstdio>
#include <string>

#include "core/base/time_value.h"
#include "core/update_list/update_list.h"

namespace ld::test {

inline std::string LocalTimeText(TimeValue t) {
  if (t == 0) return "0";
  BrokenDownTime b;
  if (!BreakDownLocalTime(t, &b)) return "?";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04u%02u%02u-%02u%02u%02u", unsigned{b.year}, unsigned{b.month},
                unsigned{b.day}, unsigned{b.hour}, unsigned{b.minute}, unsigned{b.second});
  return buf;
}

// "I[\dir{name,ck,size,zip,time;...}...]": only sections with entries appear.
inline std::string DescribeDirs(const char* tag, const std::vector<UpdateDirEntry>& dirs,
                                bool names_only) {
  if (dirs.empty()) return "";
  std::string s = std::string(" ") + tag + "[";
  for (const UpdateDirEntry& d : dirs) {
    s += d.path + "{";
    for (const UpdateFileEntry& f : d.files) {
      s += f.name;
      if (!names_only)
        s += "," + std::to_string(f.checksum) + "," + std::to_string(f.size) + "," +
             std::to_string(f.zip_size) + "," + LocalTimeText(f.time);
      s += ";";
    }
    s += "}";
  }
  return s + "]";
}

// Header values that differ from a fresh document, then the sections.
inline std::string Describe(const UpdateList& l) {
  std::string s;
  if (!l.project_name.empty()) s += " prj=" + l.project_name;
  if (l.publication_time != 0) s += " pub=" + LocalTimeText(l.publication_time);
  if (l.total_checksum != 0) s += " sum=" + std::to_string(l.total_checksum);
  if (l.total_file_count != 0) s += " no=" + std::to_string(l.total_file_count);
  if (l.total_zip_size != 0) s += " zip=" + std::to_string(l.total_zip_size);
  if (!l.download_url.empty()) s += " url=" + l.download_url;
  if (l.version != kUpdateListDefaultVersion) s += " ver=" + l.version;
  s += DescribeDirs("I", l.install, false);
  s += DescribeDirs("U", l.uninstall, true);
  s += DescribeDirs("S", l.setup_install, false);
  return s.empty() ? s : s.substr(1);
}

}  // namespace ld::test
