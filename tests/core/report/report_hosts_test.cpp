#include "core/report/report_hosts.h"

#include <gtest/gtest.h>

#include <string>

#include "core/settings/deployment_defaults.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

TEST(ReportHosts, DefaultsAndOverrides) {
  const ReportHosts defaults = ReportHosts::FromSettings(nullptr);
  EXPECT_EQ(defaults.collection, deployment::kTracebookHost);
  EXPECT_EQ(defaults.StepLog(StepLogHost::kRealZone), deployment::kRealStepLogHost);
  EXPECT_EQ(defaults.StepLog(StepLogHost::kAlphaZone), deployment::kAlphaStepLogHost);

  const ReportHosts hosts = ReportHosts::FromSettings(test::MapLookup({
      {"tracebook", "127.0.0.1:8080"},
      {"real_steplog", "http://10.0.0.1:81/"},
      {"alpha_steplog", "bad host/path"},
  }));
  EXPECT_EQ(hosts.collection, "127.0.0.1:8080");
  EXPECT_EQ(hosts.real_step_log, "10.0.0.1:81");
  EXPECT_EQ(hosts.alpha_step_log, deployment::kAlphaStepLogHost);
}

TEST(SplitHostPort, Table) {
  struct Case {
    const char* host;
    const char* name;
    int port;
  } cases[] = {
      {"log.example", "log.example", 0},
      {"127.0.0.1:8080", "127.0.0.1", 8080},
      {"h:65535", "h", 65535},
      {"h:65536", "h:65536", 0},
      {"h:000080", "h:000080", 0},  // six digits, even if the number fits
      {"h:0", "h:0", 0},
      {"h:", "h:", 0},
      {"h:8o", "h:8o", 0},
  };
  for (const Case& c : cases) {
    std::string name;
    int port = -1;
    SplitHostPort(c.host, &name, &port);
    EXPECT_EQ(name, c.name) << c.host;
    EXPECT_EQ(port, c.port) << c.host;
  }
}

}  // namespace
}  // namespace ld
