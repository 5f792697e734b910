#include "starter/startup/kind_commands.h"

#include <windows.h>

#include "starter/install/delete_with_report.h"
#include "starter/platform/folders.h"
#include "starter/platform/win_handle.h"
#include "starter/report/message_boxes.h"
#include "starter/settings/starter_options.h"

namespace ld {

bool RunBeKind(const std::string& program_folder) {
  const std::string marker = program_folder + kKindMarkerFileName;
  if (!FileExists(marker)) {
    FileHandle file(::CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  const bool made = IsPlainFile(marker);
  SupportBox(nullptr, std::string("[BeKind]\n") + "만들기 " + (made ? "성공" : "실패"),
             made ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
  return made;
}

bool RunNoKind(const std::string& program_folder, bool kind_mode) {
  const std::string marker = program_folder + kKindMarkerFileName;
  std::string text = std::string("[NoKind]\n") + "삭제(원래대로 복구) ";
  if (!FileExists(marker)) {
    SupportBox(nullptr, text + ": 성공(이미 없음)", MB_ICONINFORMATION);
    return true;
  }
  DeleteWithReport(marker, kind_mode);
  const bool gone = !FileExists(marker);
  SupportBox(nullptr, text + (gone ? "성공" : "실패"),
             gone ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
  return gone;
}

}  // namespace ld
