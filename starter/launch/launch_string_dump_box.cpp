#include "starter/launch/launch_string_dump_box.h"

#include "core/launch/gamestring_dump.h"
#include "starter/report/box_presenter.h"

namespace ld {
namespace {

std::function<void()>& CancelAction() {
  static std::function<void()> action;
  return action;
}

}  // namespace

void SetLaunchStringDumpCancelAction(std::function<void()> action) {
  CancelAction() = std::move(action);
}

void ShowLaunchStringDump(bool second_gamestring, const std::string& text,
                          const std::string& caption, GamestringFormat format, UINT extra_style) {
  const std::string dump = LaunchStringDumpText(text, second_gamestring, format);
  const int answer =
      CurrentBoxPresenter().Show(nullptr, dump, caption, kLaunchStringDumpBoxStyle | extra_style);
  if (answer != IDCANCEL) return;
  if (CancelAction()) {
    CancelAction()();
    return;
  }
  ::ExitProcess(static_cast<UINT>(-1));
}

}  // namespace ld
