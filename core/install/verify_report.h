// Texts of the verification that follows a package's download batch: the
// rows of files whose size or time differ from the update list, the two
// reports built from them for the remote log, the support-box texts and the
// result the verification returns.
//
// Pure; the installation driver thread calls them. Korean literals are code
// page 949 bytes in Windows builds and UTF-8 in native builds; every other
// text is copied as given (ANSI code page).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/base/time_value.h"

namespace ld {

// "| <package> | <address> | <found> | <expected> |\n".
std::string VerifyRow(const std::string& package, const std::string& address,
                      const std::string& found, const std::string& expected);

// A time as the time rows write it: "%04d-%02d-%02d.<day> %02d:%02d:%02d" in
// local time with the Korean day name; "" when it cannot be broken down.
std::string VerifyTimeText(TimeValue time);

// The remote-log reports: a fixed head, then "| <n> <row>" for each row with
// n counting from 1. Empty when there are no rows.
std::string SizeMismatchReport(const std::vector<std::string>& rows);
std::string TimeMismatchReport(const std::vector<std::string>& rows);

// Support-box texts: the addresses of the files not downloaded, one per
// line; "[업데이트 실패한 파일들]\n" and the paths not replaced, one per line;
// the warning about a program file whose byte sum differs from the list.
std::string FailedDownloadsText(const std::vector<std::string>& addresses);
std::string UnreplacedFilesText(const std::vector<std::string>& paths);
std::string ChecksumWarningText(const std::string& path, uint32_t listed, uint32_t found);

// Caption words of the verification's support boxes.
inline constexpr char kFailedDownloadsDetail[] = "DOWNLOAD Failed Files";
inline constexpr char kUnreplacedDetail[] = "StrongCheck";
inline constexpr char kAttributesDetail[] = "Cannot Get DOWNLOADED FILE Attribute";
extern const char kChecksumMismatchDetail[];  // "배포본 불일치"

// The verification's answer: -1 when any file was not downloaded, else the
// number of files not replaced (0: all well).
int32_t VerifyResult(std::size_t failed, std::size_t unreplaced);

}  // namespace ld
