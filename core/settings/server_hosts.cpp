#include "core/settings/server_hosts.h"

#include "core/base/ascii.h"
#include "core/settings/deployment_defaults.h"
#include "core/profile/profile_reader.h"

namespace ld {
namespace {

struct KindInfo {
  const char* key;
  const char* default_host;
};

// Order follows HostKind.
constexpr KindInfo kKinds[kHostKindCount] = {
    {"dev_download", deployment::kDevDownloadHost},
    {"alpha_download", deployment::kAlphaDownloadHost},
    {"outside_download", deployment::kOutsideDownloadHost},
    {"real_download", deployment::kRealDownloadHost},
    {"dev_game", deployment::kDevGameHost},
    {"alpha_game", deployment::kAlphaGameHost},
    {"real_game", deployment::kRealGameHost},
    {"portal", deployment::kPortalHost},
};

int Index(HostKind kind) {
  const int i = static_cast<int>(kind);
  return (i >= 0 && i < kHostKindCount) ? i : static_cast<int>(HostKind::kRealDownload);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string NormaliseHostSetting(const std::string& setting) {
  size_t begin = 0;
  size_t end = setting.size();
  while (begin < end && IsBlank(setting[begin])) ++begin;
  while (end > begin && IsBlank(setting[end - 1])) --end;
  std::string host = setting.substr(begin, end - begin);
  if (StartsWithIgnoreAsciiCase(host, "http://")) host.erase(0, 7);
  while (!host.empty() && host.back() == '/') host.pop_back();
  // Whatever remains is pasted between "http://" and a path, so anything
  // that would change the meaning of the address is refused.
  for (char c : host) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7F || c == '/' || c == '\\' || c == '?' || c == '#' || c == '@')
      return std::string();
  }
  return host;
}

ServerHosts::ServerHosts() {
  for (int i = 0; i < kHostKindCount; ++i) hosts_[i] = kKinds[i].default_host;
}

ServerHosts ServerHosts::FromSettings(const SettingLookup& lookup) {
  ServerHosts hosts;
  if (!lookup) return hosts;
  for (int i = 0; i < kHostKindCount; ++i) {
    const std::string value = lookup(kKinds[i].key);
    if (!value.empty()) hosts.Set(static_cast<HostKind>(i), value);
  }
  return hosts;
}

ServerHosts ServerHosts::FromProfile(const ProfileReader& options) {
  return FromSettings(
      [&options](const std::string& key) { return options.GetString(kServersSection, key, ""); });
}

const std::string& ServerHosts::Host(HostKind kind) const { return hosts_[Index(kind)]; }

std::string ServerHosts::Base(HostKind kind) const { return "http://" + Host(kind); }

bool ServerHosts::Set(HostKind kind, const std::string& host) {
  std::string clean = NormaliseHostSetting(host);
  if (clean.empty()) return false;
  hosts_[Index(kind)] = std::move(clean);
  return true;
}

const char* ServerHosts::SettingKey(HostKind kind) { return kKinds[Index(kind)].key; }

const char* ServerHosts::DefaultHost(HostKind kind) { return kKinds[Index(kind)].default_host; }

void SplitHostPort(const std::string& host, std::string* name, int* port) {
  *name = host;
  *port = 0;
  const std::size_t colon = host.rfind(':');
  if (colon == std::string::npos) return;
  const std::string digits = host.substr(colon + 1);
  if (digits.empty() || digits.size() > 5) return;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) return;
  *name = host.substr(0, colon);
  *port = value;
}

}  // namespace ld
