// Host of each server kind. The compiled-in defaults come from the deployment
// settings of the build (core/settings/deployment_defaults.h); "ldstarter.ini" may
// override each one in its [servers] section.
//
// A host setting is a bare host with an optional ":port", e.g.
// "down.ludoria.com" or "127.0.0.1:8080", never a scheme or a path: the
// endpoint code prepends "http://" and appends the fixed paths. For operators'
// convenience a leading "http://" and trailing slashes in a setting are
// dropped; a setting that still is not a plain host is ignored and the default
// stays.
//
// Built once on the main thread at start-up, read-only afterwards, so any
// thread may read it.
#pragma once

#include <functional>
#include <string>

namespace ld {

class ProfileReader;

// Section of "ldstarter.ini" that holds the host settings.
inline constexpr char kServersSection[] = "servers";

enum class HostKind {
  kDevDownload,
  kAlphaDownload,
  kOutsideDownload,
  kRealDownload,
  kDevGame,
  kAlphaGame,
  kRealGame,
  kPortal,
};
inline constexpr int kHostKindCount = 8;

// Returns the text of one key of the [servers] section, empty when missing.
// The caller owns whatever file or table stands behind it.
using SettingLookup = std::function<std::string(const std::string& key)>;

class ServerHosts {
 public:
  // The compiled-in defaults.
  ServerHosts();

  // Defaults overridden by every usable [servers] key that `lookup` returns;
  // an empty lookup function gives the defaults.
  static ServerHosts FromSettings(const SettingLookup& lookup);

  // FromSettings over the [servers] section of an options file; the reader
  // is only used during the call.
  static ServerHosts FromProfile(const ProfileReader& options);

  // The bare host ("name" or "name:port").
  const std::string& Host(HostKind kind) const;

  // "http://" + host, without a trailing slash.
  std::string Base(HostKind kind) const;

  // Replaces one host; false (nothing changed) when `host` is not usable.
  bool Set(HostKind kind, const std::string& host);

  // Key of the kind in the [servers] section, e.g. "real_download".
  static const char* SettingKey(HostKind kind);
  static const char* DefaultHost(HostKind kind);

 private:
  std::string hosts_[kHostKindCount];
};

// Cleans a host setting as described above; empty when it is not usable.
std::string NormaliseHostSetting(const std::string& setting);

// "name:port" split for connecting: *port is 0 (the default HTTP port) when
// the host carries no ":port" or the port is not a number from 1 to 65535.
void SplitHostPort(const std::string& host, std::string* name, int* port);

}  // namespace ld
