#include "tools/ldtool/serve_faults.h"

#include <cstdlib>

namespace ld::tool::serve {
namespace {

bool ParseNumber(const std::string& text, long long* out) {
  if (text.empty() || text.size() > 12) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  *out = std::strtoll(text.c_str(), nullptr, 10);
  return true;
}

}  // namespace

bool Faults::Parse(const std::string& text, std::string* error) {
  size_t first = text.find(':');
  size_t second = first == std::string::npos ? first : text.find(':', first + 1);
  if (second == std::string::npos) {
    *error = "fault '" + text + "' is not KIND:VALUE:PATH";
    return false;
  }
  FaultRule rule;
  std::string kind = text.substr(0, first);
  std::string value = text.substr(first + 1, second - first - 1);
  rule.path = text.substr(second + 1);
  if (kind == "status") {
    rule.kind = FaultKind::kStatus;
  } else if (kind == "delay") {
    rule.kind = FaultKind::kDelay;
  } else if (kind == "cut") {
    rule.kind = FaultKind::kCut;
  } else {
    *error = "fault kind '" + kind + "' is not status, delay or cut";
    return false;
  }
  size_t hash = value.find('#');
  if (hash != std::string::npos) {
    if (!ParseNumber(value.substr(hash + 1), &rule.remaining) || rule.remaining == 0) {
      *error = "fault '" + text + "': the count after '#' must be a positive number";
      return false;
    }
    value.resize(hash);
  }
  if (!ParseNumber(value, &rule.value)) {
    *error = "fault '" + text + "': value must be a decimal number";
    return false;
  }
  if (rule.kind == FaultKind::kStatus && (rule.value < 100 || rule.value > 599)) {
    *error = "fault '" + text + "': status must be 100..599";
    return false;
  }
  if (rule.kind == FaultKind::kDelay && rule.value > 120000) {
    *error = "fault '" + text + "': delay is limited to 120000 ms";
    return false;
  }
  if (rule.path.empty() || rule.path[0] != '/') {
    *error = "fault '" + text + "': path must begin with '/'";
    return false;
  }
  if (rule.path.back() == '*') {
    rule.prefix = true;
    rule.path.pop_back();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  rules_.push_back(rule);
  return true;
}

FaultSet Faults::Match(const std::string& path) {
  FaultSet set;
  std::lock_guard<std::mutex> lock(mutex_);
  for (FaultRule& rule : rules_) {
    bool hit = rule.prefix ? path.compare(0, rule.path.size(), rule.path) == 0 : path == rule.path;
    if (!hit || rule.remaining == 0) continue;
    if (rule.remaining > 0) --rule.remaining;
    switch (rule.kind) {
      case FaultKind::kStatus:
        if (set.status < 0) set.status = static_cast<int>(rule.value);
        break;
      case FaultKind::kDelay:
        if (set.delay_ms < 0) set.delay_ms = rule.value;
        break;
      case FaultKind::kCut:
        if (set.cut_after < 0) set.cut_after = rule.value;
        break;
    }
  }
  return set;
}

}  // namespace ld::tool::serve
