#include "core/catalogue/package_kind.h"

#include "core/profile/profile_file.h"

namespace ld {
namespace {
struct KindRow {
  const char* package;
  const char* section;
};
constexpr KindRow kKinds[kPackageKindCount] = {
    {"", ""},
    {"base2005", ""},
    {"tbbase", "TABLA"},
    {"tbbaseex", "TABLA_DX"},
    {"flbaseex", "FLORAEX"},
    {"lsbase", "LEISUREDECK"},
};
}  // namespace

const char* PackageNameOfKind(int kind) {
  return (kind >= 0 && kind < kPackageKindCount) ? kKinds[kind].package : "";
}

const char* BaseSectionOfKind(int kind) {
  return (kind >= 0 && kind < kPackageKindCount) ? kKinds[kind].section : "";
}

int PackageKindOfName(const std::string& name) {
  for (int kind = kPackageBase2005; kind < kPackageKindCount; ++kind) {
    if (ProfileNameEquals(name, kKinds[kind].package)) return kind;
  }
  return -1;
}

}  // namespace ld
