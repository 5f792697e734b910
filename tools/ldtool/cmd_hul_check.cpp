// `ldtool hul check FILE --dir DIR`: the starter's file check run against a
// folder on this machine, so an operator can see which files of an install
// (or of the folder just published) a starter would download again.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/base/checksum.h"
#include "core/install/file_decision.h"
#include "core/install/install_paths.h"
#include "core/update_list/update_list.h"
#include "core/update_list/update_list_folders.h"
#include "core/update_list/update_list_parser.h"
#include "core/update_list/update_list_records.h"
#include "tools/ldtool/command.h"

namespace ld::tool {
namespace {

const char* CodeName(uint32_t code) {
  switch (code) {
    case kFileMissing:
      return "missing";
    case kSizeDiffers:
      return "size differs";
    case kTimeDiffers:
      return "time differs";
    case kChecksumDiffers:
      return "checksum differs";
    default:
      return "up to date";
  }
}

int RunHulCheck(const std::vector<std::string>& args) {
  std::string list_path, dir;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      std::puts(
          "usage: ldtool hul check FILE --dir DIR\n"
          "Decides every file of FILE's install list against DIR as the starter does.\n"
          "Prints \"CODE<TAB>PATH<TAB>REASON\" per file needing an update, then a summary.\n"
          "Exit 0 when all are up to date, 1 otherwise. Files under <WINDOWS>, <SYSTEM>\n"
          "or <TEMP> roots name folders of a Windows machine and are skipped.");
      return kExitOk;
    }
    if (args[i] == "--dir") {
      if (i + 1 >= args.size()) return UsageError("hul check: --dir needs a folder");
      dir = args[++i];
    } else if (list_path.empty() && args[i].rfind("--", 0) != 0) {
      list_path = args[i];
    } else {
      return UsageError("hul check: unexpected argument " + args[i]);
    }
  }
  if (list_path.empty() || dir.empty()) return UsageError("hul check: FILE and --dir DIR needed");
  const UpdateListFolders folders;
  UpdateList list;
  if (!LoadUpdateList(list_path, folders, &list)) {
    std::fprintf(stderr, "ldtool: hul check: cannot read %s\n", list_path.c_str());
    return kExitFailure;
  }
  std::vector<FileRecord> records;
  AppendInstallRecords(list, &records);
  FileChecksummer checksummer;
  uint64_t bytes = 0;
  unsigned outdated = 0, skipped = 0;
  for (const FileRecord& r : records) {
    // The install folder stands for DIR; "\"-paths become "/" on this system.
    std::string shown = FinalPath("", r.dir_path, r.name);
    if (shown.find(":\\") != std::string::npos) {
      ++skipped;
      continue;
    }
    std::string local = shown;
    std::replace(local.begin(), local.end(), '\\', '/');
    local = dir + local;
    LocalFileFacts facts;
    struct stat st {};
    if (stat(local.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      facts.exists = true;
      facts.size = static_cast<uint32_t>(st.st_size);
      facts.last_write_time = static_cast<TimeValue>(st.st_mtime);
    }
    ExpectedFile expected{r.size, r.checksum, r.time};
    uint32_t code =
        DecideNeedsUpdate(facts, expected, local, [&] { return checksummer.Sum(local); });
    if (code == kUpToDate) continue;
    ++outdated;
    bytes += r.zip_size;
    std::printf("%u\t%s\t%s\n", code, shown.c_str(), CodeName(code));
  }
  std::printf("%zu files, %u need an update (%llu bytes to download)", records.size() - skipped,
              outdated, static_cast<unsigned long long>(bytes));
  if (skipped) std::printf(", %u outside the install folder skipped", skipped);
  std::printf("\n");
  return outdated == 0 ? kExitOk : kExitFailure;
}

}  // namespace

LD_TOOL_COMMAND(hul_check, "hul check", "decide every file of an update list against a folder",
                RunHulCheck);

}  // namespace ld::tool
