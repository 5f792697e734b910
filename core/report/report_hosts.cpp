#include "core/report/report_hosts.h"

#include "core/settings/deployment_defaults.h"

namespace ld {
namespace {

void Override(const SettingLookup& lookup, const char* key, std::string* host) {
  const std::string clean = NormaliseHostSetting(lookup(key));
  if (!clean.empty()) *host = clean;
}

}  // namespace

ReportHosts::ReportHosts()
    : collection(deployment::kTracebookHost),
      real_step_log(deployment::kRealStepLogHost),
      alpha_step_log(deployment::kAlphaStepLogHost) {}

ReportHosts ReportHosts::FromSettings(const SettingLookup& lookup) {
  ReportHosts hosts;
  if (!lookup) return hosts;
  Override(lookup, "tracebook", &hosts.collection);
  Override(lookup, "real_steplog", &hosts.real_step_log);
  Override(lookup, "alpha_steplog", &hosts.alpha_step_log);
  return hosts;
}

void SplitHostPort(const std::string& host, std::string* name, int* port) {
  *name = host;
  *port = 0;
  const std::size_t colon = host.rfind(':');
  if (colon == std::string::npos) return;
  const std::string digits = host.substr(colon + 1);
  if (digits.empty() || digits.size() > 5) return;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) return;
  *name = host.substr(0, colon);
  *port = value;
}

}  // namespace ld
