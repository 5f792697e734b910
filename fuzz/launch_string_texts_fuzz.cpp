// Texts shown when the launch string fails: a translated status format, the
// first gamestring's time parameter and any clock values, filled without
// ever reading a conversion the caller did not pass.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "core/base/time_value.h"
#include "core/launch/launch_string_texts.h"
#include "fuzz/fuzz_check.h"

namespace {

ld::BrokenDownTime AnyTime(FuzzedDataProvider& input) {
  ld::BrokenDownTime t;
  for (uint16_t* field :
       {&t.year, &t.month, &t.day_of_week, &t.day, &t.hour, &t.minute, &t.second, &t.milliseconds})
    *field = input.ConsumeIntegral<uint16_t>();
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string format = input.ConsumeRandomLengthString(256);
  const std::string label = input.ConsumeRandomLengthString(64);
  const unsigned status = input.ConsumeIntegral<unsigned>();
  const ld::BrokenDownTime utc = AnyTime(input);
  const ld::BrokenDownTime local = AnyTime(input);
  const std::string first = input.ConsumeRemainingBytesAsString();

  // Only the status and the label are added to the format's own bytes.
  const std::string status_text = ld::StatusFailureText(format, status, label);
  LD_FUZZ_CHECK(status_text.size() <= format.size() + 10 + label.size());

  ld::ExpiredGamestringText(format, utc, local, first);
  ld::GamestringDiagnosticText(label, first, format, utc, local);
  ld::OpenFailureDetail(status, input.ConsumeIntegral<int>());
  return 0;
}
