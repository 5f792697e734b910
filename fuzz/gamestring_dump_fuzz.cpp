// The launch-string dump text and the splitting it is built from.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "core/launch/gamestring_dump.h"
#include "core/launch/gamestring_split.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const bool second = input.ConsumeBool();
  const std::string text = input.ConsumeRemainingBytesAsString();

  // Every part is a piece of the text: splitting never makes bytes up.
  for (const auto& parts : {ld::SplitByAmpersand(text), ld::SplitByLength(text)}) {
    for (const auto& [key, value] : parts) LD_FUZZ_CHECK(key.size() + value.size() <= text.size());
  }
  ld::PartsDump(text, second);
  for (ld::GamestringFormat format : {ld::GamestringFormat::kOld, ld::GamestringFormat::kNew})
    ld::LaunchStringDumpText(text, second, format);
  return 0;
}
