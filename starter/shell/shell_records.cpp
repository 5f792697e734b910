#include "starter/shell/shell_records.h"

#include "core/base/error_codes.h"
#include "starter/platform/folders.h"
#include "starter/report/message_boxes.h"
#include "starter/platform/registry.h"

namespace ld {
namespace {

constexpr char kDisplayName[] = "루도리아";
constexpr char kPublisher[] = "QRX Corp.";
constexpr DWORD kSilentMediumIntegrity = 3;

}  // namespace

bool WriteUninstallEntry(const std::string& language_folder) {
  RegistryKey key;
  LONG result = OpenOrCreateUserKeyForWriting(kUninstallKey, &key);
  const std::string uninstaller = language_folder + "\\" + kUninstallerName;
  if (result == ERROR_SUCCESS) result = SetTextValue(key.Get(), "DisplayName", kDisplayName);
  if (result == ERROR_SUCCESS) result = SetTextValue(key.Get(), "DisplayIcon", uninstaller);
  if (result == ERROR_SUCCESS) result = SetTextValue(key.Get(), "UninstallString", uninstaller);
  if (result == ERROR_SUCCESS) result = SetTextValue(key.Get(), "Publisher", kPublisher);
  if (result == ERROR_SUCCESS) return true;
  key.Reset();
  ::SetLastError(static_cast<DWORD>(result));
  ErrorBox(error_code::kRegistryWrite);
  return false;
}

bool WriteElevationPolicy(const std::string& starter_data_folder) {
  RegistryKey policies;
  if (OpenOrCreateUserKeyForWriting(kElevationPolicyKey, &policies) != ERROR_SUCCESS) return false;
  RegistryKey key;
  if (OpenOrCreateUserKeyForWriting(std::string(kElevationPolicyKey) + "\\" + kStarterAppId,
                                    &key) != ERROR_SUCCESS)
    return false;
  return SetTextValue(key.Get(), "AppName", "ldstarter.exe") == ERROR_SUCCESS &&
         SetTextValue(key.Get(), "AppPath", starter_data_folder) == ERROR_SUCCESS &&
         SetNumberValue(key.Get(), "Policy", kSilentMediumIntegrity) == ERROR_SUCCESS;
}

bool WriteElevationPolicy() { return WriteElevationPolicy(StarterDataFolder()); }

}  // namespace ld
