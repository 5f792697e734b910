// Fixtures shared by the core unit tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "core/profile/profile_file.h"
#include "core/settings/server_hosts.h"

namespace ld {
namespace test {

// A fresh folder per test, removed afterwards; a random name keeps test
// programs that run at the same time apart.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("ld_core_test_" + std::to_string(std::random_device()()) + "_" +
            std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }
  std::filesystem::path dir_;
};

// Stands in for the system conversion from code page 949: knows 루 and 드,
// refuses any other byte above ASCII.
inline bool FakeCp949ToUtf8(const std::string& in, std::string* out) {
  static const std::map<std::string, std::string> kLetters = {{"\xB7\xE7", "\xEB\xA3\xA8"},
                                                              {"\xB5\xE5", "\xEB\x93\x9C"}};
  out->clear();
  for (std::size_t i = 0; i < in.size();) {
    if (static_cast<unsigned char>(in[i]) < 0x80) {
      out->push_back(in[i++]);
      continue;
    }
    auto it = kLetters.find(in.substr(i, 2));
    if (it == kLetters.end()) return false;
    *out += it->second;
    i += 2;
  }
  return true;
}

// Sets the C library's local zone; nullptr removes the setting. "KST-9" is
// nine hours east of UTC without daylight saving in both the POSIX and the
// Microsoft C runtime syntax.
inline void SetZone(const char* tz) {
#if defined(_WIN32)
  _putenv_s("TZ", tz ? tz : "");
  _tzset();
#else
  if (tz)
    setenv("TZ", tz, 1);
  else
    unsetenv("TZ");
  tzset();
#endif
}

// Sets the local zone for its lifetime and restores the one before.
class ScopedZone {
 public:
  explicit ScopedZone(const char* tz) {
    if (const char* old = std::getenv("TZ")) old_zone_ = old;
    SetZone(tz);
  }
  ~ScopedZone() { SetZone(old_zone_ ? old_zone_->c_str() : nullptr); }
  ScopedZone(const ScopedZone&) = delete;
  ScopedZone& operator=(const ScopedZone&) = delete;

 private:
  std::optional<std::string> old_zone_;
};

// Pins the local zone to KST-9 so that native runs and runs under Wine see
// the same clock.
class KstZoneTest : public ::testing::Test {
 private:
  ScopedZone zone_{"KST-9"};
};

inline SettingLookup MapLookup(std::map<std::string, std::string> values) {
  return [values](const std::string& key) { return values.count(key) ? values.at(key) : ""; };
}

inline ProfileFile Parsed(const std::string& text) {
  ProfileFile file;
  file.Parse(text);
  return file;
}

}  // namespace test
}  // namespace ld
