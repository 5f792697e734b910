#include "installer/version_check.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "installer/build_settings.h"
#include "installer/http_download.h"

namespace ld::installer {
namespace {

constexpr char kVersionFileName[] = "ldstarter_verinfo.dat";
constexpr char kRealVersionPath[] = "/dist/ldstart/ldstarter_verinfo.dat";
constexpr char kAlphaVersionPath[] = "/ld2005/dist/ldstart/ldstarter_verinfo.dat";

std::string UsableHost(std::string value, const char* fallback) {
  if (value.compare(0, 7, "http://") == 0) value.erase(0, 7);
  while (!value.empty() && value.back() == '/') value.pop_back();
  if (value.empty() || value.find_first_of("/\\ \t?#@") != std::string::npos) return fallback;
  return value;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  std::string text(path, n);
  return text.substr(0, text.find_last_of('\\') + 1);
}

bool OwnVersion(PackedVersion* own) {
  char path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return false;
  std::vector<char> block(size);
  if (!::GetFileVersionInfoA(path, 0, size, block.data())) return false;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixed_size = 0;
  if (!::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixed_size) ||
      fixed == nullptr || fixed_size < sizeof(*fixed))
    return false;
  own->high = fixed->dwFileVersionMS;
  own->low = fixed->dwFileVersionLS;
  return true;
}

std::string VersionFileAddress(const DownloadHosts& hosts) {
  char windows[MAX_PATH] = {};
  UINT n = ::GetWindowsDirectoryA(windows, MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    char marker[16];
    std::snprintf(marker, sizeof(marker), "%c:\\_ldstarter", windows[0]);
    DWORD attributes = ::GetFileAttributesA(marker);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      return "http://" + hosts.alpha + kAlphaVersionPath;
  }
  return "http://" + hosts.real + kRealVersionPath;
}

}  // namespace

DownloadHosts ReadDownloadHosts() {
  std::string options = ProgramFolder() + "ldstarter.ini";
  auto read = [&](const char* key) {
    char value[260] = {};
    ::GetPrivateProfileStringA("servers", key, "", value, sizeof(value), options.c_str());
    return std::string(value);
  };
  DownloadHosts hosts;
  hosts.real = UsableHost(read("real_download"), LD_INSTALLER_REAL_DOWNLOAD_HOST);
  hosts.alpha = UsableHost(read("alpha_download"), LD_INSTALLER_ALPHA_DOWNLOAD_HOST);
  return hosts;
}

PackedVersion ParseVersionText(const std::string& text) {
  int part[4] = {0, 0, 0, 0};
  std::sscanf(text.c_str(), "%d.%d.%d.%d", &part[0], &part[1], &part[2], &part[3]);
  auto cut = [](int value) { return static_cast<uint32_t>(value) & 0xFFFFu; };
  PackedVersion version;
  version.high = (cut(part[0]) << 16) | cut(part[1]);
  version.low = (cut(part[2]) << 16) | cut(part[3]);
  return version;
}

bool PublishedStarterIsNewer(const DownloadHosts& hosts) {
  PackedVersion own;
  // Without its own version the installer cannot tell; it installs, as it
  // does when the server cannot say.
  if (!OwnVersion(&own)) return false;

  char temp[MAX_PATH] = {};
  UINT n = ::GetTempPathA(MAX_PATH, temp);
  if (n == 0 || n >= MAX_PATH) return false;
  std::string local = std::string(temp) + kVersionFileName;
  if (!DownloadToFile(VersionFileAddress(hosts), local)) {
    ::DeleteFileA(local.c_str());
    return false;
  }
  FILE* file = std::fopen(local.c_str(), "r");
  if (!file) return false;
  char line[64] = {};
  bool read = std::fgets(line, sizeof(line), file) != nullptr;
  std::fclose(file);
  ::DeleteFileA(local.c_str());
  if (!read) return false;

  PackedVersion published = ParseVersionText(line);
  return own.high < published.high || (own.high == published.high && own.low < published.low);
}

}  // namespace ld::installer
