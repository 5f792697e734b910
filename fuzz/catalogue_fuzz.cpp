// The game kind catalogue read for a launched game from any profile text.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "core/catalogue/catalogue.h"
#include "core/profile/profile_file.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string game_id = input.ConsumeRandomLengthString(16);
  const std::string text = input.ConsumeRemainingBytesAsString();

  ld::ProfileFile file;
  file.Parse(text);
  ld::Catalogue catalogue;
  ld::ReadCatalogue(file, game_id, "fallback", &catalogue);
  const std::string& icon = catalogue.shortcut.icon_path;
  LD_FUZZ_CHECK(icon.find('/') == std::string::npos);
  ld::CompanionRunsFor(catalogue.companion, game_id);

  for (const std::string& name : file.SectionNames()) {
    const std::vector<std::string> lines = file.GetSection(name);
    ld::SectionListsGame(lines, game_id);
    for (const std::string& line : lines) {
      for (const std::string& word : ld::SplitSectionWords(line))
        LD_FUZZ_CHECK(!word.empty() && word.find_first_of("\t &,/|") == std::string::npos);
    }
  }
  return 0;
}
