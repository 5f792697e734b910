// Installation benchmark (not a test): installs one published package from a
// portal into an empty folder the way the installation driver does (update
// list fetch, file check, disk-space check, download batch on two workers
// with unpacking and verification), then checks the same files again, and
// prints the timings as "key=value" lines for bench/install_bench.sh.
//
//   install_bench PORTAL PACKAGE INSTALL_FOLDER [--phases | --probe N]
//
// PORTAL is "host:port" of a server laid out as `ldtool publish` writes
// (update lists under /hul, zips under the list's download address).
// --phases runs the same installation in separate steps instead (every zip
// downloaded first, then every zip unpacked on this thread), to show where
// the time goes; its install figure is not the driver's. --probe N times the
// steps of a worker one by one for the first N files (0: all) and installs
// nothing else (install_probe.h).
//
// Runs on the main thread only; the download workers are the batch's own.
// Boxes are answered by a presenter that prints them and says No, so nothing
// waits for a user; remote-log records go to stderr. Exit status: 0 when the
// installation and the second check found nothing wrong, 1 when they did,
// 2 on a usage error.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/win/bench_clock.h"
#include "bench/win/install_probe.h"
#include "core/install/executable_list.h"
#include "core/install/install_paths.h"
#include "core/install/package_descriptor.h"
#include "starter/report/box_presenter.h"
#include "starter/install/download_batch.h"
#include "starter/download/download_log.h"
#include "starter/platform/folders.h"
#include "starter/install/package_check.h"
#include "starter/install/package_install.h"
#include "starter/download/progress_sink.h"
#include "starter/app/starter_app.h"
#include "starter/install/update_list_fetch.h"
#include "starter/install/zip_extract.h"

namespace ld {
namespace {

// Says No to every box, so string 180 continues and nothing blocks; counts
// what it was shown. Called from the driver thread (this one).
class AnsweringPresenter : public BoxPresenter {
 public:
  int Show(HWND, const std::string& text, const std::string& caption, UINT) override {
    ++shown;
    std::fprintf(stderr, "box: %s: %s\n", caption.c_str(), text.c_str());
    return IDNO;
  }
  int shown = 0;
};

// Stands in for the installation window: every display change is counted
// (the window would send a message for each), nothing is drawn. Called by
// both workers under the meter lock.
class CountingSink : public ProgressSink {
 public:
  void SetBarRange(const char*, uint32_t) override { ++updates; }
  void SetBarPosition(const char*, uint32_t) override { ++updates; }
  void SetText(const char*, const std::string&) override { ++updates; }
  std::atomic<long> updates{0};
};

std::atomic<long> g_log_records{0};

void PrintDownloadLog(std::uint32_t code, const char* text) {
  ++g_log_records;
  std::fprintf(stderr, "log %08X: %s\n", code, text);
}

struct Totals {
  std::size_t files = 0;
  std::uint64_t bytes = 0;
  std::uint64_t zip_bytes = 0;
  std::size_t to_download = 0;
};

Totals Count(const std::vector<PackageDescriptor>& packages) {
  Totals totals;
  for (const PackageDescriptor& package : packages) {
    for (const FileRecord& record : package.records) {
      ++totals.files;
      totals.bytes += record.size;
      totals.zip_bytes += record.zip_size;
      if (record.needs_update != 0) ++totals.to_download;
    }
  }
  return totals;
}

// The installation in separate steps: every zip downloaded by the batch
// without unpacking, then every zip unpacked here, then the zips deleted.
// False when a step failed for some file.
bool InstallInPhases(const InstallContext& context, PackageDescriptor& package) {
  DownloadBatch batch;
  Stopwatch download;
  if (!BuildDownloadList(*context.app, SourceOf(context, package), context.install_folder,
                         &package.records, &batch) ||
      !batch.Run(*context.app)) {
    return false;
  }
  std::printf("phase_download_seconds=%.3f\n", download.Seconds());
  bool ok = true;
  Stopwatch extract;
  for (std::size_t i = 0; i < batch.size(); ++i) {
    const DownloadItem& item = batch.item(i);
    ok = ok && item.downloaded &&
         ExtractZipEntry(item.zip_path, item.record->name, item.target_folder);
  }
  std::printf("phase_extract_seconds=%.3f\n", extract.Seconds());
  Stopwatch remove;
  for (std::size_t i = 0; i < batch.size(); ++i) DeleteFileForced(batch.item(i).zip_path);
  std::printf("phase_delete_zips_seconds=%.3f\n", remove.Seconds());
  batch.WaitForWorkers(0);
  return ok;
}

// What the command line asks for besides the installation itself.
struct Options {
  bool phases = false;
  bool probe = false;
  std::size_t probe_limit = 0;
};

int Run(const std::string& portal, const std::string& package_name, const std::string& folder,
        const Options& options) {
  const bool phases = options.phases;
  cStarterApp& app = cStarterApp::Get();
  AnsweringPresenter boxes;
  ScopedBoxPresenter scoped_boxes(&boxes);
  CountingSink sink;
  ScopedProgressSink scoped_sink(&sink);
  SetDownloadLogHook(&PrintDownloadLog);

  long remote_records = 0;
  int exit_requests = 0;
  ExecutableList executables;
  InstallContext context;
  context.app = &app;
  context.install_folder = folder;
  context.distribution_address = "http://" + portal + "/dist";
  context.executables = &executables;
  context.remote_log = [&remote_records](uint32_t code, const std::string& text, const char*) {
    ++remote_records;
    std::fprintf(stderr, "remote %08X: %s\n", code, text.c_str());
  };
  context.exit_process = [&exit_requests](int) { ++exit_requests; };

  ListFetchSettings settings;
  settings.list_folder = folder + ".lists";
  CreateFolder(settings.list_folder);
  settings.hul_root = "http://" + portal + "/hul";
  settings.roots = SystemListFolders();

  std::vector<PackageDescriptor> packages(1);
  packages[0].is_game = true;
  packages[0].name = package_name;
  Stopwatch list_time;
  if (!FetchUpdateList(settings, &packages[0])) {
    std::fprintf(stderr, "install_bench: the update list of %s could not be fetched\n",
                 package_name.c_str());
    return 1;
  }
  std::printf("list_seconds=%.3f\n", list_time.Seconds());
  if (options.probe) {
    const int failures =
        ProbeInstallSteps(packages[0], SourceOf(context, packages[0]), folder, options.probe_limit);
    SetDownloadLogHook(nullptr);
    return failures == 0 ? 0 : 1;
  }

  Stopwatch check_time;
  CheckAllPackageFiles(context, &packages);
  const double check_seconds = check_time.Seconds();
  const int space = CheckPackagesDiskSpace(folder, packages, false);
  const Totals first = Count(packages);

  Stopwatch install_time;
  bool installed = true;
  if (phases) {
    installed = InstallInPhases(context, packages[0]);
  } else {
    installed = UpdateAllPackages(context, &packages) < 0;
  }
  const double install_seconds = install_time.Seconds();

  ExecutableList second_executables;
  context.executables = &second_executables;
  Stopwatch recheck_time;
  CheckAllPackageFiles(context, &packages);
  const double recheck_seconds = recheck_time.Seconds();
  const Totals second = Count(packages);

  std::printf("mode=%s\n", phases ? "phases" : "driver");
  std::printf("files=%zu\n", first.files);
  std::printf("bytes=%llu\n", static_cast<unsigned long long>(first.bytes));
  std::printf("zip_bytes=%llu\n", static_cast<unsigned long long>(first.zip_bytes));
  std::printf("files_to_download=%zu\n", first.to_download);
  std::printf("disk_space=%d\n", space);
  std::printf("check_seconds=%.3f\n", check_seconds);
  std::printf("install_seconds=%.3f\n", install_seconds);
  std::printf("check_and_install_seconds=%.3f\n", check_seconds + install_seconds);
  std::printf("recheck_seconds=%.3f\n", recheck_seconds);
  std::printf("recheck_files_to_download=%zu\n", second.to_download);
  std::printf("display_updates=%ld\n", sink.updates.load());
  std::printf("boxes=%d\n", boxes.shown);
  std::printf("log_records=%ld\n", g_log_records.load() + remote_records);
  std::printf("executables=%zu\n", second_executables.size());
  std::fflush(stdout);
  SetDownloadLogHook(nullptr);
  const bool clean = installed && second.to_download == 0 && boxes.shown == 0 &&
                     exit_requests == 0 && first.to_download == first.files;
  return clean ? 0 : 1;
}

}  // namespace
}  // namespace ld

int main(int argc, char** argv) {
  std::vector<std::string> args;
  ld::Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--phases") == 0) {
      options.phases = true;
    } else if (std::strcmp(argv[i], "--probe") == 0 && i + 1 < argc) {
      options.probe = true;
      options.probe_limit = std::strtoul(argv[++i], nullptr, 10);
    } else {
      args.push_back(argv[i]);
    }
  }
  if (args.size() != 3) {
    std::fprintf(stderr,
                 "usage: install_bench PORTAL PACKAGE INSTALL_FOLDER [--phases | --probe N]\n");
    return 2;
  }
  try {
    return ld::Run(args[0], args[1], args[2], options);
  } catch (...) {
    std::fprintf(stderr, "install_bench: out of memory\n");
    return 1;
  }
}
