// What the starter does with the launch-string servers' input and answers:
// the pairs moved out of the request address and put into the answer, the
// ticket carried back, the identifier field written, the token answer.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "core/launch/gamestring.h"
#include "core/launch/gamestring_request.h"
#include "core/launch/launch_record.h"
#include "core/launch/token_refresh.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string identifier = input.ConsumeRandomLengthString(64);
  const std::string first = input.ConsumeRandomLengthString(1024);
  const std::string answer = input.ConsumeRemainingBytesAsString();

  std::string address;
  if (ld::GamestringServerAddress(first, &address)) {
    ld::RepairHttpScheme(&address);
    const ld::GamestringRequest request = ld::BuildGamestringRequest(address);
    LD_FUZZ_CHECK(request.removed_pairs >= 0 &&
                  static_cast<std::size_t>(request.removed_pairs) <= request.moved_fields.size());
    LD_FUZZ_CHECK(request.address.size() <= address.size());

    // Inserting adds the fields and one "&" each, and nothing else.
    std::string second = answer;
    ld::InsertMovedFields(&second, request.moved_fields);
    std::size_t added = 0;
    for (const std::string& field : request.moved_fields) added += field.size() + 1;
    LD_FUZZ_CHECK(second == answer || second.size() == answer.size() + added);
  }

  std::string resynchronised = first;
  bool clk2 = input.ConsumeBool();
  if (!ld::ResynchroniseTicket(&resynchronised, answer, &clk2))
    LD_FUZZ_CHECK(resynchronised == first);

  // The identifier reads back whole through the length-prefixed fields.
  std::string second = answer;
  if (ld::WriteIdentifierField(&second, identifier)) {
    const std::string field = "k301e:" + std::to_string(identifier.size()) + "=" + identifier;
    LD_FUZZ_CHECK(second.find(field) != std::string::npos);
  }

  ld::TokenAnswer token;
  if (ld::ParseTokenAnswer(answer, &token)) {
    ld::LaunchRecord record;
    record.first_gamestring = first;
    ld::ApplyTokenAnswer(token, &record);
    LD_FUZZ_CHECK(record.second_gamestring == record.first_gamestring);
  }
  std::string body;
  if (ld::TokenRefreshBody(identifier, first, answer, identifier, &body))
    LD_FUZZ_CHECK(body.size() <= ld::kTokenBodyLimit);
  return 0;
}
