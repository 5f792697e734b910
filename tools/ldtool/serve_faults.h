// Fault switches of the loopback server, so tests can make a download fail
// the way a real server or network does.
//
// Switch syntax (one --fault option each):
//   status:CODE:PATH   answer CODE with a short body instead of the content
//   delay:MS:PATH      wait MS milliseconds (at most 120000) before answering
//   cut:BYTES:PATH     send the headers of the full answer, then only BYTES
//                      bytes of its body, then close the connection
// A value may end in "#N": the switch then fires for the first N matching
// requests only (a server that recovers). PATH is the decoded request path
// without query; a PATH ending in "*" matches every path with that prefix.
//
// Threads: Parse runs on the main thread before the server starts; Match runs
// on any worker thread and is guarded by a lock.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace ld::tool::serve {

enum class FaultKind { kStatus, kDelay, kCut };

struct FaultRule {
  FaultKind kind = FaultKind::kStatus;
  long long value = 0;
  std::string path;  // exact path, or prefix when prefix is true
  bool prefix = false;
  long long remaining = -1;  // -1: unlimited
};

// The faults that apply to one request; a field is -1 when its switch is off.
struct FaultSet {
  int status = -1;
  long long delay_ms = -1;
  long long cut_after = -1;
  bool any() const { return status >= 0 || delay_ms >= 0 || cut_after >= 0; }
};

class Faults {
 public:
  // Adds one switch; false with a reason in *error for a malformed one.
  bool Parse(const std::string& text, std::string* error);

  // The switches matching path; consumes one use of each limited switch.
  FaultSet Match(const std::string& path);

 private:
  std::mutex mutex_;
  std::vector<FaultRule> rules_;
};

}  // namespace ld::tool::serve
