#include "starter/startup/open_folder_commands.h"

#include <windows.h>

#include "starter/platform/folders.h"
#include "starter/report/message_boxes.h"
#include "starter/platform/process_launcher.h"
#include "starter/platform/registry.h"

namespace ld {
namespace {

constexpr char kKoreanKey[] = "Software\\Ludoria.Com\\KOREAN";
constexpr char kCaptionAddition[] = "루도리아이 설치된 폴더 열기";
constexpr char kExplorerFailed[] = "윈도우즈 탐색기를 실행할 수 없습니다.";

void Tell(const std::string& text) { SupportBox(kCaptionAddition, text, MB_ICONEXCLAMATION); }

}  // namespace

bool OpenInstallFolder(const std::string& key_path, const std::string& value_name) {
  RegistryKey key;
  if (OpenUserKey(kKoreanKey, KEY_READ, &key) != ERROR_SUCCESS) {
    Tell("레지스트리 키(key)가 없습니다.\nHKEY_CURRENT_USER\\" + key_path);
    return false;
  }
  std::string folder;
  LONG status = ReadTextValue(key.Get(), "Home", &folder);
  key.Reset();
  if (status != ERROR_SUCCESS) {
    Tell("레지스트리 키에 <" + value_name + ">(값 이름)이 없습니다.\n@ HKEY_CURRENT_USER\\" +
         key_path);
    return false;
  }
  if (IsDirectory(folder)) {
    std::string arguments = "/e, \"" + folder + "\"";
    if (LaunchProcess(nullptr, "explorer.exe", arguments.c_str(), SW_SHOWNORMAL)) return true;
    Tell(kExplorerFailed);
    return false;
  }
  std::string question = "루도리아을 설치한 폴더 정보가 무효한 path입니다.\n( 절대경로 : \"" +
                         folder + "\" )\n\n이 값을 가지고 있는,\nHKEY_CURRENT_USER\\" + key_path +
                         "에 있는,\n값이름 <" + value_name + ">을 삭제하시겠습니까?";
  if (SupportBox(kCaptionAddition, question, MB_YESNO) != IDYES) return false;
  bool deleted = DeleteUserValue(key_path, value_name) == ERROR_SUCCESS;
  Tell("[레지스트리 값이름 제거]\nHKEY_CURRENT_USER\\" + key_path + " 에 있는\n값이름 \"" +
       value_name + "\" 삭제에\n" + (deleted ? "성공했습니다." : "실패했습니다."));
  return false;
}

bool OpenStarterDataFolder() {
  std::string folder = StarterDataFolder();
  if (LaunchProcess(nullptr, "explorer.exe", folder.c_str(), SW_SHOWNORMAL)) return true;
  SupportBox(nullptr,
             std::string("[루드스타터가 설치된 폴더 열기]\n") + kExplorerFailed + "\npath : <" +
                 folder + ">",
             MB_ICONEXCLAMATION);
  return false;
}

bool RunOpenFolderCommand(const std::string& word) {
  if (word == "open_korean_folder") {
    OpenInstallFolder(kKoreanKey, "Home");
  } else if (word == "open_ludoria_folder") {
    OpenStarterDataFolder();
  } else if (word == "open_folder") {
    OpenInstallFolder(kKoreanKey, "Home");
    OpenStarterDataFolder();
  } else {
    return false;
  }
  return true;
}

}  // namespace ld
