#include "core/install/verify_report.h"

#include <cstdio>

#include "core/base/timestamp_text.h"

namespace ld {
namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string NumberedRows(std::string head, const std::vector<std::string>& rows) {
  if (rows.empty()) return std::string();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    head += "| " + std::to_string(static_cast<unsigned long>(i + 1)) + " " + rows[i];
  }
  return head;
}

}  // namespace

const char kChecksumMismatchDetail[] = "배포본 불일치";

std::string VerifyRow(const std::string& package, const std::string& address,
                      const std::string& found, const std::string& expected) {
  return "| " + package + " | " + address + " | " + found + " | " + expected + " |\n";
}

std::string VerifyTimeText(TimeValue time) {
  BrokenDownTime broken;
  if (!BreakDownLocalTime(time, &broken)) return std::string();
  return TimestampText(broken, std::string(), false);
}

std::string SizeMismatchReport(const std::vector<std::string>& rows) {
  return NumberedRows(
      "\"downloaded file SIZE unexpected\"\n"
      "( .hul에 있는 정보와 실제 다운로드서버에 올라가 있는 파일의 크기가 다름 )\n"
      "|| no || package || remote address || size || ToBe(in .hul) ||\n",
      rows);
}

std::string TimeMismatchReport(const std::vector<std::string>& rows) {
  return NumberedRows(
      "\"downloaded file Date-time unexpected\"\n"
      "( .hul에 있는 정보와 실제 다운로드서버에 올라가 있는 파일의 시각이 다름 )\n"
      "|| no || package || remote address || date-time || ToBe(in .hul) ||\n",
      rows);
}

std::string FailedDownloadsText(const std::vector<std::string>& addresses) {
  return JoinLines(addresses);
}

std::string UnreplacedFilesText(const std::vector<std::string>& paths) {
  return "[업데이트 실패한 파일들]\n" + JoinLines(paths);
}

std::string ChecksumWarningText(const std::string& path, uint32_t listed, uint32_t found) {
  char numbers[48];
  std::snprintf(numbers, sizeof numbers, "> hul:%08x downloaded:%08x",
                static_cast<unsigned>(listed), static_cast<unsigned>(found));
  return "WARNING] file CHECKSOM different <" + path + numbers;
}

int32_t VerifyResult(std::size_t failed, std::size_t unreplaced) {
  if (failed != 0) return -1;
  return static_cast<int32_t>(unreplaced);
}

}  // namespace ld
