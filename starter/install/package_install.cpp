#include "starter/install/package_install.h"

#include <vector>

#include "core/install/download_rules.h"
#include "core/base/error_codes.h"
#include "core/install/file_decision.h"
#include "core/install/package_order.h"
#include "core/update_list/update_list_records.h"
#include "starter/install/delete_with_report.h"
#include "starter/install/download_batch.h"
#include "starter/download/downloader.h"
#include "starter/platform/folders.h"
#include "starter/net/internet_open.h"
#include "starter/report/message_boxes.h"
#include "starter/install/package_check.h"
#include "starter/download/progress_sink.h"
#include "starter/app/starter_app.h"
#include "starter/platform/string_table.h"
#include "starter/install/zip_extract.h"

namespace ld {
namespace {

// String 180 with its closing support address runs past the usual 260 bytes.
constexpr std::size_t kQuestionBuffer = 1024;

void SendDriverUi(const InstallContext& context, uint32_t wparam) {
  if (context.driver_ui) context.driver_ui(wparam);
}

void EndProcess(const InstallContext& context, int code) {
  if (context.exit_process) {
    context.exit_process(code);
  } else {
    ::ExitProcess(static_cast<UINT>(code));
  }
}

// String 180 filled with the count; the English table writes it with %d,
// the Korean one with %u, and both read the same value for a count this
// small. A format the C library refuses is shown as it stands.
std::string UnreplacedQuestion(int32_t count) {
  const std::string format = LoadText(IDS_FAIL_DELETE_OLDFILES, kQuestionBuffer);
  const std::string text = BoundedFormat(format.size() + 32, format.c_str(), count);
  return text.empty() ? format : text;
}

// One setup archive: 1 done, 0 stopped, -1 download failed.
int UpdateOneArchive(HINTERNET internet, const InstallContext& context, const PackageSource& source,
                     const FileRecord& record, uint32_t* entry_count) {
  cStarterApp& app = *context.app;
  const std::string archive = FinalPath(context.install_folder, record.dir_path, record.name);
  const std::string folder = TargetFolder(context.install_folder, record.dir_path);
  CreateFolder(folder);
  ::SetCurrentDirectoryA(folder.c_str());
  const std::string address = RemoteSetupAddress(source, record.dir_path, record.name);

  MeterControl file_meter = MeterControl::File(app);
  MeterControl main_meter = MeterControl::Main(app);
  file_meter.StagedStart(record.zip_size);
  file_meter.Reset(true);
  main_meter.StagedNextFile(record.zip_size);
  ShowControlText(kFileNameText, record.name);
  SendDriverUi(context, kDriverUiSetupMessage);

  // A plain file is replaced by the download itself.
  if (IsDirectory(archive)) DeleteWithReport(archive, app.flags().kind_mode);
  if (!DownloadFile(internet, kSetupArchiveBuffer, archive, address, &file_meter, &main_meter,
                    true)) {
    // A cancel during the transfer is a stop too: a failed download counts
    // as success, and the driver would record an installation nobody made.
    return app.StopRequested() ? 0 : -1;
  }
  if (app.StopRequested()) return 0;
  main_meter.StagedFileDownloaded();
  SendDriverUi(context, kDriverUiNoMessage);

  const ArchiveResult unpacked =
      ExtractArchive(archive, folder, [&](uint32_t done, uint32_t count) {
        if (app.StopRequested()) return false;
        main_meter.ExtractionProgress(done, count);
        file_meter.ExtractionProgress(done, count);
        return true;
      });
  if (unpacked.opened && entry_count != nullptr && *entry_count == 0) {
    *entry_count = unpacked.entries;
  }
  DeleteFileForced(archive);
  if (app.StopRequested()) return 0;
  main_meter.StagedFileExtracted();
  return 1;
}

}  // namespace

PackageSource SourceOf(const InstallContext& context, const PackageDescriptor& package) {
  PackageSource source;
  source.name = package.name;
  source.download_address = package.download_address;
  source.distribution_address = context.distribution_address;
  source.newer_layout = package.update_list.IsNewerLayout();
  return source;
}

bool InstallPackage(const InstallContext& context, PackageDescriptor& package) {
  cStarterApp& app = *context.app;
  SendDriverUi(context, kDriverUiFileProgress);

  DownloadBatch batch;
  batch.set_extractor([](const DownloadItem& item, MeterControl&) {
    return ExtractZipEntry(item.zip_path, item.record->name, item.target_folder);
  });
  if (!BuildDownloadList(app, SourceOf(context, package), context.install_folder, &package.records,
                         &batch) ||
      !batch.Run(app)) {
    return true;
  }

  const RemoteLogFn remote_log = context.remote_log ? context.remote_log : ServiceRemoteLog(app);
  const int32_t result = VerifyPackage(app, package.name, context.install_folder, batch,
                                       context.executables, remote_log);
  if (result == 0) return true;
  const std::string& project = package.update_list.project_name;
  if (result < 0) {
    remote_log(error_code::kDiskSpaceOrFiles, project, "IDS_FAIL_GAMEFILEDOWNLOAD");
    ErrorBoxById(error_code::kDiskSpaceOrFiles, IDS_FAIL_GAMEFILEDOWNLOAD, project.c_str());
    return false;
  }
  const int answer = ErrorBoxWithText(error_code::kDiskSpaceOrFiles, UnreplacedQuestion(result),
                                      project.c_str(), MB_YESNO);
  if (answer != IDNO) EndProcess(context, -1);
  return true;
}

int UpdateSetupArchives(HINTERNET internet, const InstallContext& context,
                        const PackageDescriptor& package, uint32_t* entry_count) {
  const PackageSource source = SourceOf(context, package);
  for (const FileRecord& record : package.setup_records) {
    const int outcome = UpdateOneArchive(internet, context, source, record, entry_count);
    if (outcome != 1) return outcome;
  }
  return 1;
}

int InstallSetupPackages(const InstallContext& context, std::vector<PackageDescriptor>* packages) {
  InternetHandle internet = OpenDownloadHandle();
  if (!internet) return -1;
  SetReceiveTimeout(internet.Get(), kSetupReceiveTimeoutMs);
  int result = 1;
  for (std::size_t index : InstallOrder(packages->size())) {
    PackageDescriptor& package = (*packages)[index];
    if (package.setup_records.empty()) continue;
    uint32_t entries = 0;
    const int outcome = UpdateSetupArchives(internet.Get(), context, package, &entries);
    package.setup_entry_count = entries;
    if (outcome == 0) return 0;
    if (outcome == 1) {
      result = static_cast<int>(static_cast<uint32_t>(result) | (1u << ((index + 1) % 32)));
    }
  }
  return result;
}

void CheckAllPackageFiles(const InstallContext& context, std::vector<PackageDescriptor>* packages) {
  for (PackageDescriptor& package : *packages) {
    package.bytes_to_download =
        CheckPackageFiles(context.install_folder, &package.records, context.executables);
  }
}

int UpdateAllPackages(const InstallContext& context, std::vector<PackageDescriptor>* packages) {
  for (std::size_t index : InstallOrder(packages->size())) {
    PackageDescriptor& package = (*packages)[index];
    if (package.bytes_to_download == 0) continue;
    if (!InstallPackage(context, package)) return static_cast<int>(index);
  }
  return -1;
}

void DeleteUninstallFiles(const std::string& install_folder,
                          const std::vector<PackageDescriptor>& packages) {
  for (const PackageDescriptor& package : packages) {
    for (const std::string& path : UninstallPaths(package.update_list, install_folder)) {
      DeleteFileForced(path);
    }
  }
}

}  // namespace ld
