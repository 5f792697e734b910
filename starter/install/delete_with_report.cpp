#include "starter/install/delete_with_report.h"

#include <windows.h>

#include <cstdio>

#include "starter/platform/folders.h"
#include "starter/report/message_boxes.h"
#include "starter/platform/process_launcher.h"

namespace ld {
namespace {

bool DeleteFolderTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((folder + "\\*.*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    std::string path = folder + "\\" + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ok = DeleteFolderTree(path) && ok;
    } else {
      ok = DeleteFileForced(path) && ok;
    }
  } while (::FindNextFileA(find, &entry));
  DWORD error = ::GetLastError();
  ::FindClose(find);
  ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!::RemoveDirectoryA(folder.c_str())) return false;
  ::SetLastError(error == ERROR_NO_MORE_FILES ? ERROR_SUCCESS : error);
  return ok;
}

void AskAboutFailure(const std::string& path, bool folder, DWORD error) {
  std::string detail = std::string("로컬") + (folder ? "폴더" : "파일") + " 삭제 실패";
  std::string text = WindowsErrorText(error) + "\n<" + path + ">\n";
  if (folder) {
    text += "상위 폴더를 여시겠습니까?";
  } else {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      text += "(파일 속성을 얻을 수 없습니다.)\n";
    } else {
      char line[64];
      std::snprintf(line, sizeof line, "(파일 속성:%#lx)\n",
                    static_cast<unsigned long>(attributes));
      text += line;
    }
    text += "파일이 있는 폴더를 여시겠습니까?";
  }
  if (SupportBox(detail.c_str(), text, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
  std::string arguments = "/select, " + path;
  if (!LaunchProcess(nullptr, "explorer.exe", arguments.c_str(), SW_SHOWNORMAL)) {
    SupportBox("로컬파일 삭제 실패 대응", "윈도우즈 탐색기를 실행할 수 없습니다.",
               MB_ICONEXCLAMATION);
  }
}

}  // namespace

bool DeleteWithReport(const std::string& path, bool kind_mode) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  bool ok = folder ? DeleteFolderTree(path) : DeleteFileForced(path);
  if (!ok && kind_mode) AskAboutFailure(path, folder, ::GetLastError());
  return ok;
}

}  // namespace ld
