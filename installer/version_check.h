// Whether the starter published on the download server is newer than the
// one this installer carries (the installer's own file version). Runs on
// the worker thread.
#pragma once

#include <cstdint>
#include <string>

namespace ld::installer {

// Hosts ("name" or "name:port") of the download servers of the real and
// alpha zones.
struct DownloadHosts {
  std::string real;
  std::string alpha;
};

// The compiled-in hosts, each replaced by a usable "real_download" or
// "alpha_download" value of the [servers] section of "ldstarter.ini" beside
// the installer (the starter's own options file and keys), so an operator or
// a test can point the installer elsewhere. A value may start with "http://"
// and end with slashes; anything else with a '/' or a blank is ignored.
DownloadHosts ReadDownloadHosts();

// The two halves of a fixed file version: major.minor in `high`,
// build.revision in `low`.
struct PackedVersion {
  uint32_t high = 0;
  uint32_t low = 0;
};

// "a.b.c.d" as the version file holds it; numbers that cannot be read count
// as 0 and each is cut to 16 bits.
PackedVersion ParseVersionText(const std::string& text);

// The whole check: own version, version file address (alpha when a folder
// "X:\_ldstarter" exists on the Windows drive), download, comparison. Any
// failure to learn the published version answers false, so the installation
// goes on.
bool PublishedStarterIsNewer(const DownloadHosts& hosts);

}  // namespace ld::installer
