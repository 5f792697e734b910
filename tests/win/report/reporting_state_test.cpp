// The step log's member id on the system's code page 949 conversion; the
// requests' sending is what the end-to-end runs see.
#include "starter/report/reporting_state.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/win/support/portal_support.h"

namespace ld {
namespace {

TEST(StepLogRequestTest, MemberIdUnscrambledUntilStep212AndSentAsEscapedUtf8) {
  ResetReportingState();
  ReadStepLogSwitches("ludoria://127.0.0.1/gs?k22e=aion&k3e=m&k401e=nyn&k410e=q");
  StepLogRequest request;
  // New format: no unscrambling. Code page 949 in this build.
  EXPECT_TRUE(PrepareStepLogRequest(200, "aion", "루드 a", GamestringFormat::kNew, &request));
  EXPECT_EQ(request.path, "/log.html?sub=base&step=200&gid=AION&mid=%EB%A3%A8%EB%93%9C+a&seq=q");
  // An id scrambled by the portal side's tool (through tests/win/with_portal.sh).
  const std::string scrambled = test::Env("LD_TEST_SCRAMBLED_ID");
  for (int step : {208, 212, 214}) {
    if (scrambled.empty()) break;  // no portal tool
    EXPECT_TRUE(PrepareStepLogRequest(step, "aion", scrambled, GamestringFormat::kOld, &request));
    EXPECT_EQ(request.path, "/log.html?sub=base&step=" + std::to_string(step) + "&gid=AION&mid=" +
                                (step <= 212 ? "tester+01@ludo.kr" : scrambled) + "&seq=q");
  }
  ResetReportingState();
}

}  // namespace
}  // namespace ld
