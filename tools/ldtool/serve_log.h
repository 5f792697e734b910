// The loopback server's request log: one JSON object per line, appended and
// flushed per request so a test can read it while the server runs.
//
// Line members: "seq" (1, 2, ... in arrival order of the log write),
// "time_ms" (wall clock), "method", "target" (path with query, as sent),
// "path" (decoded, without query), "headers" (object; a repeated name joins
// its values with ", "), "body" (text), "body_base64" (the exact bytes),
// "status" (what the server answers), "faults" (the switches applied).
// Requests carry texts of the system code page (Korean in code page 949), so
// any text that is not valid UTF-8 is written byte by byte as \u00XX (Latin-1)
// and "body_base64" keeps the bytes exact.
//
// Threads: Append may be called from any worker thread; a lock serialises
// the lines. Open failures are reported by Open; a failing write is ignored
// (the server keeps serving).
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace ld::tool::serve {

struct LogEntry {
  std::string method;
  std::string target;
  std::string path;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  int status = 0;
  std::string faults;  // e.g. "status=503 delay=200"; empty when none
};

class RequestLog {
 public:
  RequestLog() = default;
  RequestLog(const RequestLog&) = delete;
  RequestLog& operator=(const RequestLog&) = delete;
  ~RequestLog();

  // Opens path for appending; false when it cannot be opened.
  bool Open(const std::string& path);
  void Append(const LogEntry& entry);

 private:
  std::mutex mutex_;
  FILE* file_ = nullptr;
  long long seq_ = 0;
};

// JSON string literal (with quotes) of a byte string; see the file comment.
std::string JsonQuote(const std::string& bytes);
std::string Base64(const std::string& bytes);

}  // namespace ld::tool::serve
