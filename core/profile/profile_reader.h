// Read access to a profile (INI) file, the format of "gamekind.ini" and
// "ldstarter.ini". Two implementations follow the same rules: the system's
// profile functions on Windows (starter/platform/profile_file_win.h) and a portable
// reader (core/profile/profile_file.h) used by ldtool and by the core tests.
//
// Rules both follow: section and key names compare without regard to case
// (ASCII); the first section of a name and the first key of a name in it
// win; names and values are trimmed of blanks; a value wrapped in a matching
// pair of single or double quotes loses them; a missing file, section or key
// gives the default. Text is bytes in the ANSI code page, passed through.
//
// Threads: a reader is used by one thread at a time (the installation driver
// for the catalogue, the main thread at start-up for the options file); it
// holds no handle between calls. Nothing here fails loudly: every failure to
// read is a default answer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ld {

// The value buffer the starter has always used for catalogue and options
// values: 1023 bytes including the terminating NUL, so values hold at most
// 1022 characters.
inline constexpr std::size_t kProfileValueBufferSize = 1023;

class ProfileReader {
 public:
  virtual ~ProfileReader() = default;

  // The value of key in section, or def_value when the section or key is
  // missing or the key line has no "=". buffer_size counts the terminating
  // NUL as the system functions do: the answer holds at most buffer_size - 1
  // bytes (0 gives ""). def_value is treated as the system treats defaults:
  // trailing blanks dropped, a matching pair of quotes stripped.
  virtual std::string GetString(const std::string& section, const std::string& key,
                                const std::string& def_value,
                                std::size_t buffer_size = kProfileValueBufferSize) const = 0;

  // The value read as an integer as the system does: leading blanks, an
  // optional sign, an optional 0x/0o/0b prefix, digits up to the first other
  // character (so "12abc" is 12 and "abc" is 0), 32-bit wrap-around.
  // def_value when the key is missing or its value is empty.
  virtual int GetInt(const std::string& section, const std::string& key, int def_value) const = 0;

  // Every line of the first section of that name in file order, as the
  // system returns them: "key=value" (trimmed, quotes kept), a line without
  // "=" as its trimmed text; blank lines and ';' comment lines left out.
  // Empty when the section or the file is missing. Not cut at any size.
  virtual std::vector<std::string> GetSection(const std::string& section) const = 0;
};

}  // namespace ld
