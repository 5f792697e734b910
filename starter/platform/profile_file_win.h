// ProfileReader over the system's profile functions (GetPrivateProfileStringA,
// GetPrivateProfileIntA, GetPrivateProfileSectionA): what the starter uses to
// read "gamekind.ini" and "ldstarter.ini".
//
// The path is made absolute once at construction: the system functions look
// for a bare file name in the Windows folder, which would silently read some
// other file. The object holds no handle; each call opens and reads the file
// through the system (which caches it). Used by one thread at a time (the
// main thread for the options file, the installation driver for the
// catalogue). Failures are default answers, as the interface says.
#pragma once

#include <string>
#include <vector>

#include "core/profile/profile_reader.h"

namespace ld {

class WinProfileFile : public ProfileReader {
 public:
  explicit WinProfileFile(const std::string& path);

  const std::string& path() const { return path_; }

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& def_value,
                        std::size_t buffer_size = kProfileValueBufferSize) const override;
  int GetInt(const std::string& section, const std::string& key, int def_value) const override;
  std::vector<std::string> GetSection(const std::string& section) const override;

 private:
  std::string path_;
};

}  // namespace ld
