// Profile (INI) text: the portable reader answers every question on any text
// within its buffer rule, and the editor's changes read back through it.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "core/profile/profile_file.h"
#include "core/profile/profile_writer.h"
#include "fuzz/fuzz_check.h"

namespace {

// Names and values the editor writes as they stand and the reader gives back
// unchanged: no line breaks, no brackets or "=" in names, no blanks or quotes
// that the reader would trim or strip, no ';' that would start a comment.
bool Plain(const std::string& s, const char* extra) {
  if (s.empty() || ld::IsProfileSpace(s.front()) || ld::IsProfileSpace(s.back())) return false;
  if (s.find_first_of("\r\n\"'\x1a") != std::string::npos || s.front() == ';') return false;
  if (s.find('\0') != std::string::npos) return false;
  return s.find_first_of(extra) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(16);
  const std::string key = input.ConsumeRandomLengthString(16);
  const std::string value = input.ConsumeRandomLengthString(32);
  const std::size_t buffer = input.ConsumeIntegralInRange<std::size_t>(0, 64);
  const std::string text = input.ConsumeRemainingBytesAsString();

  ld::ProfileFile file;
  file.Parse(text);
  for (const std::string& name : file.SectionNames()) {
    for (const std::string& line : file.GetSection(name)) {
      const std::string line_key = line.substr(0, line.find('='));
      const std::string got = file.GetString(name, line_key, "", buffer);
      LD_FUZZ_CHECK(buffer == 0 ? got.empty() : got.size() < buffer);
      file.GetInt(name, line_key, -1);
    }
  }
  LD_FUZZ_CHECK(file.GetString(section, key, value, buffer).size() <= (buffer ? buffer - 1 : 0));

  ld::ProfileWriter writer;
  writer.SetText(text);
  writer.SetValue(section, key, value);
  if (Plain(section, "[]") && Plain(key, "[]=") && Plain(value, "")) {
    ld::ProfileFile edited;
    edited.Parse(writer.Text());
    LD_FUZZ_CHECK(edited.GetString(section, key, "-") == value);
    writer.RemoveKey(section, key);
    edited.Parse(writer.Text());
    LD_FUZZ_CHECK(edited.GetString(section, key, "-") == "-");
  }
  writer.AddLine(section, value);
  writer.RemoveLine(section, value);
  return 0;
}
