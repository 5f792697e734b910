#include "core/install/install_paths.h"

#include "core/base/ascii.h"

namespace ld {
namespace {

bool HasDrive(std::string_view dir) { return dir.find(":\\") != std::string_view::npos; }

// F + D for a relative D, with the separator D should have started with.
std::string JoinRelative(std::string_view install_folder, std::string_view dir) {
  std::string out(install_folder);
  if (dir.front() != '\\') out += '\\';
  out += dir;
  return out;
}

std::string RemotePrefix(const PackageSource& source, std::string_view dir) {
  std::string out = RemoteBase(source);
  out += '/';
  out += source.name;
  if (source.newer_layout && !dir.empty() && !HasDrive(dir)) {
    std::string part(dir);
    for (char& c : part) {
      if (c == '\\') c = '/';
    }
    if (part != "/") {
      if (part.front() != '/') out += '/';
      out += part;
    }
  }
  return out;
}

void PlanInto(std::string_view path, const PathKindFn& kind_of, std::vector<FolderStep>* steps) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  if (path.empty()) return;
  std::string self(path);
  PathKind kind = kind_of(self);
  if (kind == PathKind::kDirectory) return;
  std::size_t slash = path.rfind('\\');
  if (slash != std::string_view::npos && slash > 0) {
    PlanInto(path.substr(0, slash), kind_of, steps);
  }
  steps->push_back({std::move(self), kind == PathKind::kFile});
}

}  // namespace

std::string FinalPath(std::string_view install_folder, std::string_view dir,
                      std::string_view name) {
  std::string out;
  if (dir.empty() || dir == "\\") {
    out = install_folder;
  } else if (HasDrive(dir)) {
    out = dir;
  } else {
    out = JoinRelative(install_folder, dir);
  }
  out += '\\';
  out += name;
  return out;
}

std::string TargetFolder(std::string_view install_folder, std::string_view dir) {
  if (dir.empty()) return std::string(install_folder);
  if (dir == "\\") return std::string(install_folder) + "\\";
  if (HasDrive(dir)) return std::string(dir);
  return JoinRelative(install_folder, dir);
}

bool IsBase2005(std::string_view package_name) {
  return EqualsIgnoreAsciiCase(package_name, "base2005");
}

std::string RemoteBase(const PackageSource& source) {
  if (!IsBase2005(source.name) && source.download_address.size() > 1) {
    return source.download_address;
  }
  return source.distribution_address;
}

std::string RemoteFileAddress(const PackageSource& source, std::string_view dir,
                              std::string_view name) {
  return RemoteSetupAddress(source, dir, name) + ".zip";
}

std::string RemoteSetupAddress(const PackageSource& source, std::string_view dir,
                               std::string_view name) {
  std::string out = RemotePrefix(source, dir);
  out += '/';
  out += name;
  return out;
}

std::vector<FolderStep> PlanCreateFolder(std::string_view path, const PathKindFn& kind_of) {
  std::vector<FolderStep> steps;
  PlanInto(path, kind_of, &steps);
  return steps;
}

std::optional<std::string> DrivePart(std::string_view install_folder) {
  constexpr std::size_t kMaxDrivePart = 9;
  std::size_t pos = install_folder.find(":\\");
  if (pos == std::string_view::npos || pos + 2 > kMaxDrivePart) return std::nullopt;
  return std::string(install_folder.substr(0, pos + 2));
}

int EnoughDiskSpace(uint64_t free_bytes, uint64_t need_bytes) {
  constexpr uint64_t kPlenty = uint64_t{1024} << 32;  // 4 TiB
  if (free_bytes >= kPlenty) return 1;
  uint64_t need_kib = need_bytes / 1024 + (need_bytes % 1024 != 0 ? 1 : 0);
  return free_bytes / 1024 >= need_kib ? 1 : 0;
}

int CheckDiskSpace(std::string_view install_folder, const std::vector<uint32_t>& package_sums,
                   const FreeSpaceFn& free_space) {
  std::optional<std::string> drive = DrivePart(install_folder);
  if (!drive) return -1;
  uint64_t need = 0;
  for (uint32_t sum : package_sums) need += sum;
  uint64_t free_bytes = 0;
  if (!free_space || !free_space(*drive, &free_bytes)) free_bytes = 0;
  return EnoughDiskSpace(free_bytes, need);
}

}  // namespace ld
