// Update lists as the download servers hand them out: any text parses, what
// it yields respects the list's limits, and whatever the writer accepts
// reads back as the same list.
#include <cstdlib>
#include <ctime>
#include <string>

#include "core/update_list/update_list.h"
#include "core/update_list/update_list_parser.h"
#include "core/update_list/update_list_writer.h"
#include "fuzz/fuzz_check.h"

namespace {

void CheckEntries(const std::vector<ld::UpdateDirEntry>& dirs) {
  for (const ld::UpdateDirEntry& dir : dirs) {
    LD_FUZZ_CHECK(dir.path.find('/') == std::string::npos);
    for (const ld::UpdateFileEntry& file : dir.files)
      LD_FUZZ_CHECK(!file.name.empty() && file.name.size() <= ld::kUpdateListMaxName);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Local times of a list convert through the C library; a zone without
  // daylight saving keeps every local time unambiguous for the round trip.
  setenv("TZ", "UTC", 1);
  tzset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const ld::UpdateListFolders folders;
  ld::UpdateList list;
  ld::ParseUpdateList(text, folders, &list);
  CheckEntries(list.install);
  CheckEntries(list.uninstall);
  CheckEntries(list.setup_install);

  std::string written;
  std::string error;
  if (!ld::WriteUpdateListText(list, folders, &written, &error)) return 0;
  ld::UpdateList again;
  ld::ParseUpdateList(written, folders, &again);
  LD_FUZZ_CHECK(again == list);
  std::string rewritten;
  LD_FUZZ_CHECK(ld::WriteUpdateListText(again, folders, &rewritten, &error));
  LD_FUZZ_CHECK(rewritten == written);
  return 0;
}
