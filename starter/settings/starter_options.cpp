#include "starter/settings/starter_options.h"

#include <windows.h>

#include "starter/platform/folders.h"
#include "starter/platform/profile_file_win.h"

namespace ld {

std::string ProgramFolderOf(const std::string& program_path) {
  std::size_t slash = program_path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : program_path.substr(0, slash + 1);
}

std::string ProgramPath() {
  // Paths longer than MAX_PATH are possible; grow until the name fits.
  std::string path(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 6; ++attempt) {
    DWORD length = ::GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
  return std::string();
}

StarterOptions ReadStarterOptions(const std::string& program_folder) {
  StarterOptions options;
  options.program_folder = program_folder;
  options.options_path = program_folder + kOptionsFileName;
  options.kind_marker = IsPlainFile(program_folder + kKindMarkerFileName);

  WinProfileFile file(options.options_path);
  options.show_gamestring_in_alpha = file.GetInt("check", "ShowGamestringInAlpha", 0);
  options.strong = file.GetInt("check", "strong", 0);
  options.default_install_dir =
      file.GetString("private", "DefaultInstallDir", "", kDefaultInstallDirBufferSize);

  SettingLookup lookup = [&file](const std::string& key) {
    return file.GetString("servers", key, "");
  };
  options.hosts = ServerHosts::FromSettings(lookup);
  options.report_hosts = ReportHosts::FromSettings(lookup);
  options.plum_hosts = PlumHosts::FromSettings(lookup);
  return options;
}

}  // namespace ld
