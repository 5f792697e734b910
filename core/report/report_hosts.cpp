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

}  // namespace ld
