// Hosts of the reporting services: the log-and-crash collection service and
// the step-log servers of the real and alpha zones. Compiled-in defaults come
// from the deployment settings (core/settings/deployment_defaults.h); "ldstarter.ini"
// may override each in its [servers] section under "tracebook",
// "real_steplog" and "alpha_steplog", cleaned like every other host setting
// (core/settings/server_hosts.h), so "127.0.0.1:8080" works and a bad value is ignored.
//
// Built on the main thread at start-up and handed to the senders; a plain
// value.
#pragma once

#include <string>

#include "core/settings/server_hosts.h"
#include "core/report/step_log_switches.h"

namespace ld {

struct ReportHosts {
  std::string collection;
  std::string real_step_log;
  std::string alpha_step_log;

  // The compiled-in defaults.
  ReportHosts();

  // Defaults overridden by the usable [servers] keys `lookup` returns.
  static ReportHosts FromSettings(const SettingLookup& lookup);

  const std::string& StepLog(StepLogHost host) const {
    return host == StepLogHost::kRealZone ? real_step_log : alpha_step_log;
  }
};

}  // namespace ld
