// Texts the starter sends to the remote services: the log-and-crash document
// and the step-log request, from whatever the launch string and the caller
// hand in.
#include <fuzzer/FuzzedDataProvider.h>

#include <json/reader.h>

#include <string>

#include "core/report/crash_record.h"
#include "core/report/step_log.h"
#include "core/report/step_log_switches.h"
#include "fuzz/fuzz_check.h"

namespace {

bool Identity(const std::string& in, std::string* out) {
  *out = in;
  return true;
}
bool Refuse(const std::string&, std::string*) { return false; }

void CheckCrashDocument(FuzzedDataProvider& input, const ld::Utf8Converter& convert) {
  ld::CrashReport report;
  report.game_id = input.ConsumeRandomLengthString(32);
  report.member_id = input.ConsumeRandomLengthString(64);
  report.code = input.ConsumeIntegral<uint32_t>();
  if (input.ConsumeBool()) report.body = input.ConsumeRandomLengthString(4096);
  if (input.ConsumeBool()) report.resource_name = input.ConsumeRandomLengthString(512);
  if (input.ConsumeBool()) report.executor = input.ConsumeRandomLengthString(512);
  ld::CrashRecordFacts facts;
  facts.version = input.ConsumeRandomLengthString(24);
  facts.previous_state = input.ConsumeIntegral<int>();
  facts.current_state = input.ConsumeIntegral<int>();

  // Whatever fits is sent whole: it must still be one JSON object.
  const std::string document = ld::CrashRecordDocument(report, facts, convert);
  LD_FUZZ_CHECK(document.size() <= ld::kCrashDocumentMax);
  if (document.empty()) return;
  Json::CharReaderBuilder builder;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value parsed;
  std::string errors;
  LD_FUZZ_CHECK(
      reader->parse(document.data(), document.data() + document.size(), &parsed, &errors));
  LD_FUZZ_CHECK(parsed.isObject());
}

void CheckStepLog(FuzzedDataProvider& input, const ld::Utf8Converter& convert) {
  std::string first = input.ConsumeRandomLengthString(512);
  ld::ReportingSwitches switches;
  const int at = ld::ReadStepLogSwitches(first.c_str(), &switches);
  if (at >= 0) {
    LD_FUZZ_CHECK(static_cast<std::size_t>(at) < first.size());
    LD_FUZZ_CHECK(first[at] == 'y' || first[at] == 'Y');
  }
  LD_FUZZ_CHECK(switches.sequence.size() <= ld::kStepLogSequenceMax);
  const ld::GamestringFormat format =
      input.ConsumeBool() ? ld::GamestringFormat::kNew : ld::GamestringFormat::kOld;
  ld::ReadRemoteLogSwitch(first, format, &switches);
  switches.step_log_enabled = true;

  const std::string game_id = input.ConsumeRandomLengthString(32);
  const std::string member_id = input.ConsumeRandomLengthString(128);
  ld::StepLog log;
  ld::StepLogRequest request;
  for (int step : {input.ConsumeIntegralInRange(198, 252), 210, 212, 214}) {
    if (log.Prepare(step, game_id, member_id, format, convert, &switches, &request))
      LD_FUZZ_CHECK(request.path.size() <= ld::kStepLogPathMax);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const ld::Utf8Converter convert =
      input.ConsumeBool() ? ld::Utf8Converter(Identity) : ld::Utf8Converter(Refuse);
  CheckCrashDocument(input, convert);
  CheckStepLog(input, convert);
  return 0;
}
