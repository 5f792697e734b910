#include "starter/report/report_sender.h"

#include <cstdio>
#include <memory>

#include <json/reader.h>

#include "core/report/crash_record.h"
#include "starter/platform/code_page.h"
#include "starter/net/internet_session.h"
#include "starter/report/reporting_state.h"
#include "starter/report/sender_jobs.h"

namespace ld {
namespace {

// Limits of the job's fields; longer texts are cut (the document never is:
// CrashRecordDocument already fits it).
constexpr std::size_t kReadPiece = 1023;
// The answer is read only to finish the exchange; a bound keeps a
// misbehaving service from filling memory.
constexpr std::size_t kAnswerMax = 64 * 1024;

SenderJobList& ReportJobs() {
  static SenderJobList* jobs = new SenderJobList;  // outlives late sender threads
  return *jobs;
}

class ReportJob : public SenderJob {
 public:
  ReportJob(const std::string& host, const std::string& document)
      : host_(host.substr(0, kSenderHostMax)),
        path_(kReportPath),
        body_(document.substr(0, kCrashDocumentMax)) {}

  void Send() override {
    std::string answer;
    {
      InternetHandle root = OpenSenderRoot(kReportAgent);
      if (!root) return;
      InternetHandle connection = ConnectHttp(root, host_);
      if (!connection) return;
      InternetHandle request = OpenHttpRequest(connection, "POST", path_);
      if (!request) return;

      char headers[256];
      const int length = std::snprintf(headers, sizeof headers,
                                       "Accept: text/*\r\n"
                                       "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0;* Windows "
                                       "NT)\r\n"
                                       "Content-type: application/json\r\n"
                                       "Content-length: %u\r\n\n",
                                       static_cast<unsigned>(body_.size()));
      if (length <= 0 || length >= static_cast<int>(sizeof headers)) return;
      ::HttpAddRequestHeadersA(request.Get(), headers, static_cast<DWORD>(length),
                               HTTP_ADDREQ_FLAG_ADD);
      if (!::HttpSendRequestA(request.Get(), nullptr, 0, const_cast<char*>(body_.data()),
                              static_cast<DWORD>(body_.size()))) {
        return;
      }
      ReadAnswer(request, &answer);
    }
    // The service's answer decides nothing; parsing it only mirrors what
    // the service expects a client to do with it.
    Json::Value ignored;
    Json::Reader().parse(answer, ignored);
  }

 private:
  static void ReadAnswer(const InternetHandle& request, std::string* answer) {
    char piece[kReadPiece];
    while (answer->size() < kAnswerMax) {
      DWORD available = 0;
      if (!::InternetQueryDataAvailable(request.Get(), &available, 0, 0)) return;
      DWORD read = 0;
      if (!::InternetReadFile(request.Get(), piece, sizeof piece, &read) || read == 0) return;
      answer->append(piece, read);
    }
  }

  std::string host_;
  std::string path_;
  std::string body_;
};

}  // namespace

void WindowsVersion(int* major, int* minor, int* build) {
  *major = *minor = *build = 0;
  // GetVersionEx answers 6.2 on every later Windows to programs without a
  // manifest; the collection service wants the real version.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  auto rtl_get_version = ntdll ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(
                                     ::GetProcAddress(ntdll, "RtlGetVersion")))
                               : nullptr;
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (rtl_get_version != nullptr && rtl_get_version(&info) == 0) {
    *major = static_cast<int>(info.dwMajorVersion);
    *minor = static_cast<int>(info.dwMinorVersion);
    *build = static_cast<int>(info.dwBuildNumber);
  }
}

void Report(const std::string& game_id, const std::string& member_id, std::uint32_t code,
            const char* body, const char* resource_name, const char* executor) {
  try {
    CrashReport report;
    report.game_id = game_id;
    report.member_id = member_id;
    report.code = code;
    if (body != nullptr) report.body = body;
    if (resource_name != nullptr) report.resource_name = resource_name;
    if (executor != nullptr) report.executor = executor;

    CrashRecordFacts facts;
    facts.production_key = CurrentReportingSwitches().production_log_key;
    facts.version = ReportVersionText();
    ReportStates(&facts.previous_state, &facts.current_state);
    WindowsVersion(&facts.os_major, &facts.os_minor, &facts.os_build);

    const std::string document = CrashRecordDocument(report, facts, Cp949ToUtf8);
    if (document.empty()) return;
    StartReportSender(CurrentReportHosts().collection, document);
  } catch (...) {
    // Out of memory while building a report: drop it, as any other failure.
  }
}

bool StartReportSender(const std::string& host, const std::string& document) {
  return ReportJobs().Start(std::make_unique<ReportJob>(host, document));
}

bool WaitForReportSenders(DWORD timeout_ms) { return ReportJobs().WaitAll(timeout_ms); }

}  // namespace ld
