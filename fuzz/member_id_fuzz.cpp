// The member-id unscrambler on any text, and the scrambler's round trip.
#include <string>

#include "core/launch/member_id.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const std::string plain = ld::UnscrambleMemberId(text);
  LD_FUZZ_CHECK(plain.find('\0') == std::string::npos);
  LD_FUZZ_CHECK(plain.size() <= text.size() / 2);

  const std::string id = text.substr(0, text.find('\0'));
  const std::string scrambled = ld::ScrambleMemberId(id);
  LD_FUZZ_CHECK(scrambled.size() == (id.empty() ? 0 : id.size() * 2 + 2));
  LD_FUZZ_CHECK(ld::UnscrambleMemberId(scrambled) == id);
  return 0;
}
