// `ldtool hul dump FILE`: prints an update list as the starter reads it, so
// operators can see what a published or downloaded ".hul" really says (lines
// the starter skips are simply absent).
#include <cstdio>
#include <string>
#include <vector>

#include <json/json.h>

#include "core/update_list/update_list.h"
#include "core/update_list/update_list_folders.h"
#include "core/update_list/update_list_parser.h"
#include "tools/ldtool/command.h"

namespace ld::tool {
namespace {

const char kDumpUsage[] =
    "usage: ldtool hul dump [--windows DIR] [--system DIR] [--temp DIR] FILE\n"
    "Reads the update list FILE with the starter's rules and prints one JSON\n"
    "object: prjname, pubdate (seconds since 1970), tchksum, tfileno, tzipsize\n"
    "(signed, as stored), downloadurl, version, newer_layout, and the install,\n"
    "uninstall and setup_install lists of {path, files: [{name, checksum, size,\n"
    "zipsize, time}]} in file order. Date-times are read in the local time zone\n"
    "(TZ). Directories under <WINDOWS>, <SYSTEM> and <TEMP> are shown below the\n"
    "given folders (default C:\\WINDOWS, C:\\WINDOWS\\system32, C:\\TEMP).\n"
    "Exits 1 when FILE cannot be read.\n";

Json::Value Dirs(const std::vector<UpdateDirEntry>& dirs) {
  Json::Value out(Json::arrayValue);
  for (const UpdateDirEntry& d : dirs) {
    Json::Value dir(Json::objectValue);
    dir["path"] = d.path;
    Json::Value files(Json::arrayValue);
    for (const UpdateFileEntry& f : d.files) {
      Json::Value file(Json::objectValue);
      file["name"] = f.name;
      file["checksum"] = Json::UInt(f.checksum);
      file["size"] = Json::UInt(f.size);
      file["zipsize"] = Json::UInt(f.zip_size);
      file["time"] = Json::Int64(f.time);
      files.append(file);
    }
    dir["files"] = files;
    out.append(dir);
  }
  return out;
}

int RunDump(const std::vector<std::string>& args) {
  UpdateListFolders folders;
  std::string file;
  bool have_file = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kDumpUsage, stdout);
      return kExitOk;
    }
    if (a == "--windows" || a == "--system" || a == "--temp") {
      if (i + 1 >= args.size()) return UsageError("option '" + a + "' needs a value");
      std::string& target =
          a == "--windows" ? folders.windows : (a == "--system" ? folders.system : folders.temp);
      target = args[++i];
      continue;
    }
    if (a.size() > 1 && a[0] == '-') return UsageError("unknown option '" + a + "'");
    if (have_file) return UsageError("expected one FILE, got more");
    file = a;
    have_file = true;
  }
  if (!have_file) return UsageError("missing FILE");

  UpdateList list;
  if (!LoadUpdateList(file, folders, &list)) {
    std::fprintf(stderr, "ldtool: cannot read '%s'\n", file.c_str());
    return kExitFailure;
  }

  Json::Value out(Json::objectValue);
  out["prjname"] = list.project_name;
  out["pubdate"] = Json::Int64(list.publication_time);
  out["tchksum"] = Json::Int(list.total_checksum);
  out["tfileno"] = Json::Int(list.total_file_count);
  out["tzipsize"] = Json::Int(list.total_zip_size);
  out["downloadurl"] = list.download_url;
  out["version"] = list.version;
  out["newer_layout"] = list.IsNewerLayout();
  out["install"] = Dirs(list.install);
  out["uninstall"] = Dirs(list.uninstall);
  out["setup_install"] = Dirs(list.setup_install);

  Json::StreamWriterBuilder builder;
  builder["indentation"] = "  ";
  std::printf("%s\n", Json::writeString(builder, out).c_str());
  return kExitOk;
}

}  // namespace

LD_TOOL_COMMAND(hul_dump, "hul dump", "print an update list as the starter reads it (JSON)",
                RunDump);

}  // namespace ld::tool
