// The two credential refreshes of LaunchStringClient: the identifier refresh
// (old format) and the token refresh (new format).
#include <windows.h>
#include <wininet.h>

#include <cstdio>

#include "core/base/error_codes.h"
#include "core/launch/gamestring.h"
#include "core/launch/gamestring_request.h"
#include "core/launch/token_refresh.h"
#include "core/report/report_hosts.h"
#include "starter/net/internet_open.h"
#include "starter/launch/launch_string_client.h"
#include "starter/report/message_boxes.h"
#include "starter/report/report_sender.h"

namespace ld {
namespace {

constexpr DWORD kRefreshPiece = 1023;
constexpr char kConnectFailedDetail[] = "서버 연결 실패";

// Reads everything the request answers, in pieces of at most kRefreshPiece
// bytes and never more than the system says is available.
std::string ReadAnswer(HINTERNET request) {
  std::string answer;
  char piece[kRefreshPiece];
  for (;;) {
    DWORD available = 0;
    if (!::InternetQueryDataAvailable(request, &available, 0, 0)) break;
    const DWORD want = available == 0 ? 1 : (available < kRefreshPiece ? available : kRefreshPiece);
    DWORD read = 0;
    if (!::InternetReadFile(request, piece, want, &read) || read == 0) break;
    answer.append(piece, read);
  }
  return answer;
}

// False, with the status in *error, when the server answered outside 2xx:
// the answer then is an error page, which must not become a credential (it
// would go to the game and back to the server with every later refresh).
bool AnsweredWithSuccess(HINTERNET request, DWORD* error) {
  DWORD status = 0;
  DWORD status_size = sizeof status;
  if (::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                       &status_size, nullptr) &&
      (status < 200 || status > 299)) {
    *error = status;
    return false;
  }
  return true;
}

bool ApplyAnswer(HINTERNET request, LaunchRecord* record, DWORD* error) {
  if (!AnsweredWithSuccess(request, error)) return false;
  TokenAnswer answer;
  if (!ParseTokenAnswer(ReadAnswer(request), &answer)) return false;
  ApplyTokenAnswer(answer, record);
  return true;
}

InternetHandle Connect(HINTERNET root, const std::string& host, int port) {
  return InternetHandle(::InternetConnectA(root, host.c_str(), static_cast<INTERNET_PORT>(port), "",
                                           "", INTERNET_SERVICE_HTTP, 0, 0));
}

InternetHandle OpenPost(HINTERNET connection, const std::string& object, DWORD flags) {
  return InternetHandle(
      ::HttpOpenRequestA(connection, "POST", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
}

}  // namespace

bool LaunchStringClient::RefreshIdentifier(DWORD* error) {
  const PlumEndpoint endpoint = IdentifierRefreshEndpoint(parties_.plum, record_.zone_number);
  const std::string path =
      endpoint.path +
      IdentifierRefreshQuery(record_.member_id, record_.game_id, record_.identifier);
  InternetHandle root = OpenDownloadHandle();
  if (!root) return false;
  SetReceiveTimeout(root.Get(), kIdentifierReceiveTimeoutMs);
  std::string host;
  int port = 0;
  SplitHostPort(endpoint.host, &host, &port);
  InternetHandle connection = Connect(root.Get(), host, port ? port : INTERNET_DEFAULT_HTTP_PORT);
  if (!connection) return false;
  InternetHandle request = OpenPost(connection.Get(), "/" + path, 0);
  if (!request) return false;
  if (!::HttpSendRequestA(request.Get(), nullptr, 0, nullptr, 0)) {
    const DWORD send_error = ::GetLastError();
    if (flags_.kind_mode) {
      SupportBox(kConnectFailedDetail,
                 "site : <" + endpoint.host + ">\nparameter : <" + path + ">\n");
    }
    *error = send_error;
    return false;
  }
  // The whole answer becomes the identifier.
  if (!AnsweredWithSuccess(request.Get(), error)) return false;
  const std::string answer = ReadAnswer(request.Get());
  request.Reset();
  connection.Reset();
  root.Reset();
  if (!answer.empty()) record_.identifier = answer;
  WriteIdentifierField(&record_.second_gamestring, record_.identifier);
  return true;
}

bool LaunchStringClient::RefreshToken(DWORD* error) {
  const std::string& second = record_.second_gamestring;
  PairValue(second, "P0=", &record_.p0);
  PairValue(second, "P1=", &record_.p1);
  PairValue(second, "P4=", &record_.p4);
  PairValue(second, "P8=", &record_.p8);
  const PlumEndpoint endpoint = TokenRefreshEndpoint(parties_.plum, record_.zone_number);
  const std::string object = "/" + endpoint.path;
  std::string host;
  int http_port = 0;
  SplitHostPort(endpoint.host, &host, &http_port);

  // A token or body over the servers' limits is not sent cut short.
  std::string body;
  if (!TokenRefreshBody(record_.p0, record_.p1, record_.p4, record_.p8, &body)) {
    *error = ERROR_INSUFFICIENT_BUFFER;
    return false;
  }
  const std::string check = TokenRefreshCheck(record_.p0, record_.p1, record_.p4, record_.p8);
  if (!check.empty())
    ReportEvent(error_code::kGamestringAnswer,
                check + "\n" + "GameString = " + record_.first_gamestring);
  const std::string headers = TokenRefreshHeaders(body.size());

  InternetHandle root = OpenDownloadHandle();
  if (!root) return false;
  InternetHandle connection = Connect(root.Get(), host, parties_.plum.https_port);
  if (!connection) return false;
  // Known risk, kept for compatibility with the deployed token servers: this
  // request ignores certificate errors (unknown authority, revocation, date,
  // name, redirects between HTTP and HTTPS), so whoever sits between the
  // player and the server can read the token. No other request of the
  // starter may ignore certificate errors.
  constexpr DWORD kOpenFlags = INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID |
                               INTERNET_FLAG_IGNORE_CERT_CN_INVALID;
  static_assert(kOpenFlags == 0x803000, "the token servers expect exactly these flags");
  InternetHandle request = OpenPost(connection.Get(), object, kOpenFlags);
  if (!request) return false;
  constexpr DWORD kSecurityFlags =
      SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_REVOCATION |
      SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
      SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTP | SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  static_assert(kSecurityFlags == 0xF180, "the token servers expect exactly these flags");
  DWORD security = kSecurityFlags;
  ::InternetSetOptionA(request.Get(), INTERNET_OPTION_SECURITY_FLAGS, &security, sizeof(security));
  if (::HttpSendRequestA(request.Get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                         const_cast<char*>(body.data()), static_cast<DWORD>(body.size()))) {
    return ApplyAnswer(request.Get(), &record_, error);
  }
  *error = ::GetLastError();
  request.Reset();
  connection.Reset();

  // The same request over plain HTTP.
  connection = Connect(root.Get(), host, http_port ? http_port : INTERNET_DEFAULT_HTTP_PORT);
  if (!connection) return false;
  request = OpenPost(connection.Get(), object, 0);
  if (!request) return false;
  if (!::HttpSendRequestA(request.Get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                          const_cast<char*>(body.data()), static_cast<DWORD>(body.size()))) {
    *error = ::GetLastError();
    return false;
  }
  return ApplyAnswer(request.Get(), &record_, error);
}

void ReportRefreshFailure(const std::string& game_id, const std::string& member_id, DWORD error) {
  char text[64];
  std::snprintf(text, sizeof(text), "PLUM Error. Code : [%08X]", static_cast<unsigned>(error));
  Report(game_id, member_id, error_code::kGamestringAnswer, text);
}

}  // namespace ld
