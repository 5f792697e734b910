// cInstallFolderSettings: where the portal's games are installed for this
// Windows user, as recorded under the current user's key
// "Software\Ludoria.Com\<language>": "Home", "base2005" and one subkey per
// game with "Name" and "Version".
//
// Threads: one object lives in cStarterApp for the whole run. SetLanguage and
// Load run on the main thread before the driver starts; SetInstallRoot runs on
// the main thread when the user confirms a folder (the driver waits for that);
// CheckExistingInstallation and WriteRecord run on the driver thread. Nothing
// here locks: the run's order keeps those apart.
//
// Failures are shown through the error boxes and reported as false.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/launch/gamestring.h"

namespace ld {

// Results of the existence checks.
enum InstallState : std::uint32_t {
  kInstallStateNone = 0,
  kInstallStateWritten = 1,  // set by the driver after WriteRecord
  kInstallStatePresent = 2,
  kInstallStateRegistryError = 3,
};

class cInstallFolderSettings {
 public:
  cInstallFolderSettings();

  // From the first launch string. False (after error box 0x00170001, string
  // 160) when it names no language.
  bool SetLanguage(const std::string& gamestring, GamestringFormat format);

  // Reads "Home" and "base2005". A missing key is a first installation (true).
  // A damaged "Home" is told to the user (owned by `owner`, with the stored
  // value in kind mode), deleted, and the run goes on as a first installation.
  bool Load(HWND owner, bool kind_mode);

  // The folder the user confirmed (empty: "<drive of Windows>:\Ludoria").
  void SetInstallRoot(const std::string& path);

  // Fills install_state() and game_key_state(). False on a registry error,
  // after its error box and after `abort` (which posts UWM_ABORT to the main
  // window; may be empty in tests).
  bool CheckExistingInstallation(const std::string& game_id, const std::function<void()>& abort);

  // Writes "Home", "base2005" (unless the game counts no base package) and the
  // game's subkey. False after error box 0x0013000E.
  bool WriteRecord(const std::string& game_id, const std::string& game_name, double version,
                   bool no_base2005);

  const std::string& language() const { return language_; }
  const std::string& registry_key() const { return registry_key_; }
  const std::string& language_folder() const { return language_folder_; }
  const std::string& install_root() const { return install_root_; }
  bool folder_missing() const { return folder_missing_; }
  std::uint32_t install_state() const { return install_state_; }
  std::uint32_t game_key_state() const { return game_key_state_; }
  std::uint32_t base_package_counter() const { return base_package_counter_; }

  // Set by the installation window.
  std::uint32_t create_desktop_shortcut = 0;
  bool folder_page_shown = false;

  // The driver marks both states written once the record is in place.
  void MarkWritten() { install_state_ = game_key_state_ = kInstallStateWritten; }
  // The driver's correction after the file check (a present package with
  // files to fetch counts as written in this run).
  void SetStates(std::uint32_t install_state, std::uint32_t game_key_state) {
    install_state_ = install_state;
    game_key_state_ = game_key_state;
  }

 private:
  std::string language_;
  std::string registry_key_;
  std::string language_folder_;
  std::string install_root_;
  bool folder_missing_ = true;
  std::uint32_t install_state_ = kInstallStateNone;
  std::uint32_t game_key_state_ = kInstallStateNone;
  std::uint32_t base_package_counter_ = 0;
};

}  // namespace ld
