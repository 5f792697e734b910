// The published version information file and the operators' dotted version.
#include <cstdio>
#include <string>

#include "core/self_update/version_info.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const ld::PublishedVersion published = ld::ParseVersionInfo(text);
  LD_FUZZ_CHECK(published.order_word.size() <= ld::kOrderWordMax);
  LD_FUZZ_CHECK(ld::VersionText(published).size() <= ld::kVersionTextMax);
  const ld::PackedVersion repacked = ld::PackVersion(published.parts[0], published.parts[1],
                                                     published.parts[2], published.parts[3]);
  LD_FUZZ_CHECK(repacked.high == published.packed.high && repacked.low == published.packed.low);
  // The same version never updates, unless a rollback is ordered: then
  // nothing that differs is kept.
  LD_FUZZ_CHECK(!ld::NeedsUpdate(published, published.packed));

  // A dotted version that reads writes back as the same text form.
  ld::PackedVersion dotted;
  if (ld::ParseDottedVersion(text, &dotted)) {
    char again[32];
    std::snprintf(again, sizeof again, "%u.%u.%u.%u", dotted.high >> 16, dotted.high & 0xFFFF,
                  dotted.low >> 16, dotted.low & 0xFFFF);
    ld::PackedVersion reread;
    LD_FUZZ_CHECK(ld::ParseDottedVersion(again, &reread));
    LD_FUZZ_CHECK(reread.high == dotted.high && reread.low == dotted.low);
  }
  return 0;
}
