// Entry names of downloaded zips: a name the installer accepts never leads
// out of the folder it is unpacked into.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>

#include "core/install/zip_entry_path.h"
#include "fuzz/fuzz_check.h"

namespace {

// True when some "\"-separated element of rest is made of dots and blanks
// with at least two dots: Windows trims the trailing ones and reads "..".
bool ClimbsOut(const std::string& rest) {
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find('\\', start);
    if (end == std::string::npos) end = rest.size();
    const std::string element = rest.substr(start, end - start);
    if (element.find_first_not_of(". ") == std::string::npos &&
        std::count(element.begin(), element.end(), '.') >= 2)
      return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const bool folder_ends_in_separator = input.ConsumeBool();
  const std::string name = input.ConsumeRemainingBytesAsString();
  const std::string folder = folder_ends_in_separator ? "C:\\Games\\Pack\\" : "C:\\Games\\Pack";

  const bool safe = ld::IsSafeZipEntryName(name);
  const std::optional<std::string> path = ld::ZipEntryOutputPath(folder, name);
  LD_FUZZ_CHECK(path.has_value() == safe);
  if (!path) return 0;
  LD_FUZZ_CHECK(path->compare(0, 14, "C:\\Games\\Pack\\") == 0);
  const std::string rest = path->substr(14);
  LD_FUZZ_CHECK(rest.find_first_of("/:") == std::string::npos);
  LD_FUZZ_CHECK(rest.empty() || rest.front() != '\\');
  LD_FUZZ_CHECK(!ClimbsOut(rest));
  for (unsigned char c : rest) LD_FUZZ_CHECK(c >= 0x20);
  return 0;
}
