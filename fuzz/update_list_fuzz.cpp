// Update lists as the download servers hand them out: any text parses, what
// it yields respects the list's limits, and whatever the writer accepts
// reads back as the same list, be it parsed text or a list made up of any
// values (as ldtool publish builds them).
#include <fuzzer/FuzzedDataProvider.h>

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

std::vector<ld::UpdateDirEntry> AnyEntries(FuzzedDataProvider& input, bool names_only) {
  std::vector<ld::UpdateDirEntry> dirs(input.ConsumeIntegralInRange(0, 3));
  for (ld::UpdateDirEntry& dir : dirs) {
    dir.path = input.ConsumeRandomLengthString(24);
    dir.files.resize(input.ConsumeIntegralInRange(0, 3));
    for (ld::UpdateFileEntry& file : dir.files) {
      file.name = input.ConsumeRandomLengthString(24);
      if (names_only) continue;
      file.checksum = input.ConsumeIntegral<uint32_t>();
      file.size = input.ConsumeIntegral<uint32_t>();
      file.zip_size = input.ConsumeIntegral<uint32_t>();
      file.time = input.ConsumeIntegral<ld::TimeValue>();
    }
  }
  return dirs;
}

ld::UpdateList AnyList(FuzzedDataProvider& input) {
  ld::UpdateList list;
  list.project_name = input.ConsumeRandomLengthString(16);
  list.publication_time = input.ConsumeIntegral<ld::TimeValue>();
  list.total_checksum = input.ConsumeIntegral<int32_t>();
  list.total_file_count = input.ConsumeIntegral<int32_t>();
  list.total_zip_size = input.ConsumeIntegral<int32_t>();
  list.download_url = input.ConsumeRandomLengthString(32);
  list.version = input.ConsumeRandomLengthString(8);
  list.install = AnyEntries(input, false);
  list.uninstall = AnyEntries(input, true);
  list.setup_install = AnyEntries(input, false);
  return list;
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
  // A first byte of '!' makes the input a made-up list; any other input is
  // list text (list text never starts with '!').
  const ld::UpdateListFolders folders;
  ld::UpdateList list;
  if (size > 0 && data[0] == '!') {
    FuzzedDataProvider input(data + 1, size - 1);
    list = AnyList(input);
  } else {
    ld::ParseUpdateList(std::string_view(reinterpret_cast<const char*>(data), size), folders,
                        &list);
    CheckEntries(list.install);
    CheckEntries(list.uninstall);
    CheckEntries(list.setup_install);
  }

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
