#include "starter/install/package_verify.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "core/base/error_codes.h"
#include "core/install/file_decision.h"
#include "core/install/verify_report.h"
#include "starter/install/download_batch.h"
#include "starter/platform/file_time_value.h"
#include "starter/platform/folders.h"
#include "starter/platform/memory_map_file.h"
#include "starter/report/message_boxes.h"
#include "starter/report/report_sender.h"
#include "starter/app/starter_app.h"

namespace ld {
namespace {

constexpr DWORD kWorkerWaitMs = 3000;

// Sums of the downloaded programs by path: a root program is summed for the
// executable list and again by its check, and game programs can be large.
class ProgramSums {
 public:
  uint32_t Of(const std::string& path) {
    const auto found = sums_.find(path);
    if (found != sums_.end()) return found->second;
    const uint32_t sum = MappedFileChecksum(path);
    sums_.emplace(path, sum);
    return sum;
  }

 private:
  std::map<std::string, uint32_t> sums_;
};

struct Findings {
  std::vector<std::string> failed;      // remote addresses
  std::vector<std::string> unreplaced;  // final paths
  std::vector<std::string> size_rows;
  std::vector<std::string> time_rows;
};

void AddDownloadedPrograms(const DownloadBatch& batch, const std::string& install_folder,
                           ExecutableList* executables, ProgramSums* sums) {
  if (executables == nullptr) return;
  for (std::size_t i = 0; i < batch.size(); ++i) {
    const DownloadItem& item = batch.item(i);
    if (!item.downloaded || item.record == nullptr || !IsProgramFile(item.record->name)) continue;
    const std::string path = RootProgramPath(install_folder, item.record->name);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) continue;
    executables->push_back({path, data.nFileSizeLow, sums->Of(path)});
  }
}

void CheckReplacedFile(const std::string& package, const DownloadItem& item, ProgramSums* sums,
                       Findings* findings) {
  const FileRecord& record = *item.record;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(item.final_path.c_str(), GetFileExInfoStandard, &data)) {
    const std::string text = WindowsErrorText(::GetLastError()) + "\n<" + item.final_path + ">";
    SupportBox(kAttributesDetail, text, MB_ICONEXCLAMATION);
    findings->unreplaced.push_back(item.final_path);
    return;
  }
  if (data.nFileSizeLow != record.size) {
    findings->size_rows.push_back(VerifyRow(package, item.remote_address,
                                            std::to_string(data.nFileSizeLow),
                                            std::to_string(record.size)));
    return;
  }
  if (IsProgramFile(item.final_path)) {
    const uint32_t found = sums->Of(item.final_path);
    if (found != record.checksum) {
      SupportBox(kChecksumMismatchDetail,
                 ChecksumWarningText(item.final_path, record.checksum, found), MB_ICONEXCLAMATION);
      return;
    }
  }
  const TimeValue found_time = TimeFromFileTime(data.ftLastWriteTime);
  if (!SameLocalMinute(found_time, record.time)) {
    findings->time_rows.push_back(VerifyRow(
        package, item.remote_address, VerifyTimeText(found_time), VerifyTimeText(record.time)));
  }
}

}  // namespace

RemoteLogFn ServiceRemoteLog(cStarterApp& app) {
  return [&app](uint32_t code, const std::string& text, const char* resource_name) {
    const LaunchRecord& record = app.launch_record();
    Report(record.game_id, record.member_id, code, text.c_str(), resource_name);
  };
}

int32_t VerifyPackage(cStarterApp& app, const std::string& package_name,
                      const std::string& install_folder, DownloadBatch& batch,
                      ExecutableList* executables, const RemoteLogFn& remote_log) {
  ProgramSums sums;
  AddDownloadedPrograms(batch, install_folder, executables, &sums);

  Findings findings;
  for (std::size_t i = 0; i < batch.size() && !app.StopRequested(); ++i) {
    const DownloadItem& item = batch.item(i);
    if (!item.downloaded) {
      findings.failed.push_back(item.remote_address);
    } else if (!item.old_file_removed) {
      findings.unreplaced.push_back(item.final_path);
    } else if (item.record != nullptr) {
      CheckReplacedFile(package_name, item, &sums, &findings);
    }
  }

  const bool kind_mode = app.flags().kind_mode;
  if (!findings.failed.empty()) {
    if (kind_mode) {
      SupportBox(kFailedDownloadsDetail, FailedDownloadsText(findings.failed), MB_ICONINFORMATION);
    }
    return VerifyResult(findings.failed.size(), 0);
  }
  if (!findings.unreplaced.empty()) {
    if (kind_mode) {
      SupportBox(kUnreplacedDetail, UnreplacedFilesText(findings.unreplaced), MB_ICONINFORMATION);
    }
    return VerifyResult(0, findings.unreplaced.size());
  }
  if (remote_log) {
    if (!findings.size_rows.empty()) {
      remote_log(error_code::kDiskSpaceOrFiles, SizeMismatchReport(findings.size_rows), nullptr);
    }
    if (!findings.time_rows.empty()) {
      remote_log(error_code::kDiskSpaceOrFiles, TimeMismatchReport(findings.time_rows), nullptr);
    }
  }
  batch.WaitForWorkers(kWorkerWaitMs);
  return 0;
}

}  // namespace ld
