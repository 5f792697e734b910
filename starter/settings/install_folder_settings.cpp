#include "starter/settings/install_folder_settings.h"

#include <cstdio>

#include "core/base/error_codes.h"
#include "core/settings/install_folder_rules.h"
#include "starter/report/box_presenter.h"
#include "starter/platform/folders.h"
#include "starter/report/message_boxes.h"
#include "starter/platform/registry.h"
#include "starter/resources/resource_ids.h"
#include "starter/platform/string_table.h"

namespace ld {
namespace {

char WindowsDrive() {
  char folder[MAX_PATH] = {};
  if (::GetWindowsDirectoryA(folder, MAX_PATH) == 0 || folder[0] == '\0') return 'C';
  return folder[0];
}

void TellDamagedHome(HWND owner, bool kind_mode, const std::string& stored) {
  std::string text = LoadText(IDS_REGISTRY_FOLDER_CORRUPTED);
  if (kind_mode) text += "\n\"" + stored + "\"";
  text += "\n" + LoadText(IDS_PROCEED_BY_DEFAULT);
  CurrentBoxPresenter().Show(owner, text, LoadText(IDS_CAPTION),
                             MB_ICONINFORMATION | MB_TOPMOST | MB_SETFOREGROUND);
}

}  // namespace

cInstallFolderSettings::cInstallFolderSettings()
    : registry_key_(RegistryKeyForLanguage(kDefaultLanguage)) {}

bool cInstallFolderSettings::SetLanguage(const std::string& gamestring, GamestringFormat format) {
  std::string language = LanguageOfLaunchString(gamestring, format);
  if (language.empty()) {
    ErrorBoxById(error_code::kNoLanguageAtStart, IDS_NO_LANGUAGE);
    return false;
  }
  language_ = language;
  registry_key_ = RegistryKeyForLanguage(language_);
  return true;
}

bool cInstallFolderSettings::Load(HWND owner, bool kind_mode) {
  std::string home;
  {
    RegistryKey key;
    if (OpenUserKey(registry_key_, KEY_READ, &key) != ERROR_SUCCESS) return true;
    ReadTextValue(key.Get(), "Home", &home);
    DWORD counter = 0;
    if (ReadNumberValue(key.Get(), "base2005", &counter) == ERROR_SUCCESS) {
      base_package_counter_ = counter;
    }
  }
  install_root_.clear();
  if (home.empty()) return true;
  if (language_.empty()) {
    ErrorBoxById(error_code::kNoLanguageForFolder, IDS_NO_LANGUAGE);
    return false;
  }
  StoredHome stored = AnalyseStoredHome(home, language_);
  if (stored.damaged) {
    TellDamagedHome(owner, kind_mode, home);
    DeleteUserValue(registry_key_, "Home");
    return true;
  }
  if (IsDirectory(stored.folder)) folder_missing_ = false;
  install_root_ = stored.install_root;
  return true;
}

void cInstallFolderSettings::SetInstallRoot(const std::string& path) {
  install_root_ = InstallRootOrDefault(path, WindowsDrive());
  language_folder_ = LanguageFolder(install_root_, language_);
}

bool cInstallFolderSettings::CheckExistingInstallation(const std::string& game_id,
                                                       const std::function<void()>& abort) {
  {
    RegistryKey key;
    LONG status = OpenUserKey(registry_key_, KEY_QUERY_VALUE, &key);
    if (status == ERROR_FILE_NOT_FOUND) {
      install_state_ = kInstallStateNone;
    } else if (status != ERROR_SUCCESS) {
      ::SetLastError(static_cast<DWORD>(status));
      ErrorBox(error_code::kInstallKeyOpen);
      install_state_ = kInstallStateRegistryError;
    } else if (ReadTextValue(key.Get(), "Home", &language_folder_) != ERROR_SUCCESS) {
      install_state_ = kInstallStateNone;
    } else {
      bool present =
          IsDirectory(install_root_) && IsDirectory(LanguageFolder(install_root_, language_));
      install_state_ = present ? kInstallStatePresent : kInstallStateNone;
    }
  }
  if (install_state_ != kInstallStateRegistryError) {
    LONG status = UserKeyExists(registry_key_ + "\\" + game_id);
    if (status == ERROR_SUCCESS) {
      game_key_state_ = kInstallStatePresent;
    } else if (status == ERROR_FILE_NOT_FOUND) {
      game_key_state_ = kInstallStateNone;
    } else {
      ::SetLastError(static_cast<DWORD>(status));
      ErrorBox(error_code::kGameKeyOpen);
      game_key_state_ = kInstallStateRegistryError;
    }
  }
  if (install_state_ != kInstallStateRegistryError &&
      game_key_state_ != kInstallStateRegistryError) {
    return true;
  }
  if (abort) abort();
  return false;
}

bool cInstallFolderSettings::WriteRecord(const std::string& game_id, const std::string& game_name,
                                         double version, bool no_base2005) {
  LONG status = ERROR_SUCCESS;
  {
    RegistryKey key;
    status = OpenOrCreateUserKeyForWriting(registry_key_, &key);
    if (status == ERROR_SUCCESS) status = SetTextValue(key.Get(), "Home", language_folder_);
    if (status == ERROR_SUCCESS && !no_base2005) {
      status = SetNumberValue(key.Get(), "base2005", base_package_counter_ + 1);
    }
  }
  if (status == ERROR_SUCCESS) {
    std::string upper_id = game_id;
    UpperCaseMultiByte(upper_id);
    RegistryKey game_key;
    status = OpenOrCreateUserKeyForWriting(registry_key_ + "\\" + upper_id, &game_key);
    if (status == ERROR_SUCCESS)
      status = SetTextValue(game_key.Get(), "Name", game_name.substr(0, 255));
    if (status == ERROR_SUCCESS) {
      char text[64];
      std::snprintf(text, sizeof text, "%.2f", version);
      status = SetTextValue(game_key.Get(), "Version", text);
    }
  }
  if (status == ERROR_SUCCESS) return true;
  ::SetLastError(static_cast<DWORD>(status));
  ErrorBox(error_code::kRegistryWrite);
  return false;
}

}  // namespace ld
