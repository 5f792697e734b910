#include "starter/launch/launch_string_client.h"

#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <vector>

#include "core/base/error_codes.h"
#include "core/launch/gamestring_request.h"
#include "core/launch/launch_string_texts.h"
#include "core/shell/shell_rules.h"
#include "core/settings/server_endpoints.h"
#include "starter/net/internet_open.h"
#include "starter/launch/launch_string_dump_box.h"
#include "starter/report/message_boxes.h"
#include "starter/report/report_sender.h"
#include "starter/shell/cache_cleanup.h"
#include "starter/platform/string_table.h"

namespace ld {
namespace {

constexpr DWORD kGamestringPiece = 1024;
constexpr DWORD kOpenUrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
static_assert(kOpenUrlFlags == 0x84000000, "fresh answer, never cached");

// Added to string 164 in the test zones for the testers.
constexpr char kAlphaZoneNote[] =
    "\n\n※ 알파존 추가 메시지\n반복되는 경우 게임스트링서버 담당자에게 문의하십시오.";
constexpr char kCleanedFormat[] =
    "임시 인터넷 파일을 (%d개) 삭제하였습니다.\n다시 한번 실행 부탁드립니다.";
constexpr char kDiagnosticDetail[] = "게임스트링 수집";
constexpr char kExpiredReportBody[] =
    "Gamestring is not valid. Please try again after restart Internet Explorer.";

std::wstring Widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n = ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                          n);
  return wide;
}

BrokenDownTime FromSystemTime(const SYSTEMTIME& t) {
  BrokenDownTime b;
  b.year = t.wYear;
  b.month = t.wMonth;
  b.day_of_week = t.wDayOfWeek;
  b.day = t.wDay;
  b.hour = t.wHour;
  b.minute = t.wMinute;
  b.second = t.wSecond;
  b.milliseconds = t.wMilliseconds;
  return b;
}

}  // namespace

LaunchStringClient::LaunchStringClient(LaunchStringParties parties)
    : parties_(std::move(parties)), record_(*parties_.record), flags_(*parties_.flags) {}

void LaunchStringClient::ReportEvent(std::uint32_t code, const std::string& body,
                                     const char* resource) {
  Report(record_.game_id, record_.member_id, code, body.c_str(), resource);
}

bool LaunchStringClient::Obtain() {
  if (flags_.new_format) {
    record_.second_gamestring = record_.first_gamestring;
    return true;
  }
  // A first gamestring without the prefix has no address at all; it fails
  // the way an address the system cannot canonicalise does.
  std::string address;
  std::vector<char> canonical(record_.first_gamestring.size() + 1024, '\0');
  DWORD size = static_cast<DWORD>(canonical.size());
  bool canonicalised = false;
  if (GamestringServerAddress(record_.first_gamestring, &address)) {
    canonicalised = ::InternetCanonicalizeUrlA(address.c_str(), canonical.data(), &size, 0) != 0;
  } else {
    ::SetLastError(ERROR_INTERNET_INVALID_URL);
  }
  if (!canonicalised) {
    const DWORD error = ::GetLastError();
    ReportEvent(error_code::kGamestringServerOpen,
                "InternetCanonicalizeUrl failed..\n[ " + address + " ]");
    ::SetLastError(error);
    ErrorBox(error_code::kGamestringServerOpen);
    return false;
  }
  record_.canonical_address.assign(canonical.data());
  RepairHttpScheme(&record_.canonical_address);
  const GamestringRequest request = BuildGamestringRequest(record_.canonical_address);

  InternetHandle root = OpenDownloadHandle();
  if (!root) {
    ReportEvent(error_code::kNoInternet, "Internet Open Error");
    ErrorBoxById(error_code::kNoInternet, IDS_IR_CANNOT_CONNECT);
    return false;
  }
  SetReceiveTimeout(root.Get(), kGamestringReceiveTimeoutMs);
  InternetHandle url(
      ::InternetOpenUrlW(root.Get(), Widen(request.address).c_str(), nullptr, 0, kOpenUrlFlags, 0));
  if (!url) {
    const DWORD error = ::GetLastError();
    DWORD extended = 0;
    char info[512] = {};
    DWORD info_size = sizeof(info);
    ::InternetGetLastResponseInfoA(&extended, info, &info_size);
    const std::string detail = OpenFailureDetail(error, static_cast<int>(extended));
    if (flags_.test_zone) {
      ErrorBoxWithText(error_code::kGamestringUnreadable,
                       LoadText(IDS_IR_CANNOT_OPENURL) + kAlphaZoneNote, detail.c_str());
    } else {
      ErrorBoxById(error_code::kGamestringUnreadable, IDS_IR_CANNOT_OPENURL, detail.c_str());
    }
    ReportEvent(error_code::kGamestringUnreadable, detail, "IDS_IR_CANNOT_OPENURL");
    return false;
  }
  DWORD status = 0;
  DWORD status_size = sizeof(status);
  ::HttpQueryInfoA(url.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                   &status_size, nullptr);
  if (status != 200) {
    const std::string text =
        StatusFailureText(LoadText(IDS_IR_URL_STATUS), status, LoadText(IDS_IR_GAMESTRING_SERVER));
    ReportEvent(error_code::kGamestringUnreadable, text);
    ErrorBoxWithText(error_code::kGamestringUnreadable, text);
    return false;
  }
  record_.second_gamestring.clear();
  char piece[kGamestringPiece];
  DWORD read = 0;
  while (::InternetReadFile(url.Get(), piece, sizeof(piece), &read) && read > 0) {
    std::size_t n = 0;
    while (n < read && piece[n] != '\0') ++n;
    record_.second_gamestring.append(piece, n);
    if (parties_.stop_requested && parties_.stop_requested()) return false;
  }
  if (flags_.show_gamestring)
    ShowLaunchStringDump(true, record_.second_gamestring, "2nd gamestring from WEB",
                         flags_.format());
  if (request.removed_pairs > 0)
    InsertMovedFields(&record_.second_gamestring, request.moved_fields);
  if (record_.first_gamestring.find("k300e") != std::string::npos)
    ResynchroniseTicket(&record_.first_gamestring, record_.second_gamestring, &clk2_pending_);
  return true;
}

bool LaunchStringClient::Analyse() {
  std::string word;
  bool analysed;
  if (flags_.new_format) {
    NewFormatSources sources;
    sources.download_root = GameDownloadRoot(parties_.hosts, record_.zone_number);
    sources.home_address = PortalHomeAddress(parties_.hosts);
    analysed = record_.AnalyseNewFormat(sources, flags_, &word);
  } else {
    analysed = record_.AnalyseOldFormat(flags_, &word);
  }
  if (analysed) return true;

  SYSTEMTIME utc_time;
  SYSTEMTIME local_time;
  ::GetSystemTime(&utc_time);
  ::GetLocalTime(&local_time);
  const BrokenDownTime utc = FromSystemTime(utc_time);
  const BrokenDownTime local = FromSystemTime(local_time);
  if (!word.empty()) {
    ErrorBoxById(error_code::kGamestringInvalid, IDS_GS_INVALID_STRING, word.c_str());
  } else {
    ErrorBoxWithText(error_code::kGamestringInvalid,
                     ExpiredGamestringText(LoadText(IDS_GS_INVALID_STRING_EXPIRE, 512), utc, local,
                                           record_.first_gamestring));
    ReportEvent(error_code::kGamestringInvalid, kExpiredReportBody, "IDS_GS_INVALID_STRING_EXPIRE");
  }
  const int deleted = parties_.clean_launcher_pages
                          ? parties_.clean_launcher_pages(record_.game_id)
                          : CleanLauncherPages(record_.game_id,
                                               PortalDomain(parties_.hosts.Host(HostKind::kPortal)),
                                               flags_.kind_mode);
  if (deleted > 0) {
    char text[256];
    std::snprintf(text, sizeof(text), kCleanedFormat, deleted);
    ShowMessageBox(nullptr, "outdated gamestring", text, MB_ICONINFORMATION);
  } else if (flags_.kind_mode) {
    SupportBox(kDiagnosticDetail,
               GamestringDiagnosticText(parties_.kind_command_tail, record_.first_gamestring,
                                        record_.second_gamestring, utc, local));
  }
  return false;
}

}  // namespace ld
