#include "starter/report/box_presenter.h"

#include <atomic>

namespace ld {
namespace {

SystemBoxPresenter g_system_presenter;
std::atomic<BoxPresenter*> g_presenter{&g_system_presenter};

}  // namespace

int SystemBoxPresenter::Show(HWND owner, const std::string& text, const std::string& caption,
                             UINT style) {
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

BoxPresenter& CurrentBoxPresenter() { return *g_presenter.load(); }

BoxPresenter* SetBoxPresenter(BoxPresenter* presenter) {
  BoxPresenter* previous =
      g_presenter.exchange(presenter != nullptr ? presenter : &g_system_presenter);
  return previous == &g_system_presenter ? nullptr : previous;
}

}  // namespace ld
