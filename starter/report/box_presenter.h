// The one place where the starter's message boxes reach the screen. Every box
// of message_boxes.h goes through the current presenter; the program uses the
// system one (MessageBoxA), tests install a recorder that answers with a
// chosen button.
//
// Threads: boxes are shown from the main thread and from the installation
// driver thread; Show() must be callable from both. The presenter is swapped
// only while no box can be on the way (at start-up or inside a test).
#pragma once

#include <windows.h>

#include <string>

namespace ld {

class BoxPresenter {
 public:
  virtual ~BoxPresenter() = default;

  // Shows `text` under `caption` with MessageBoxA style bits `style`, owned by
  // `owner` (may be null). Returns the button pressed (IDOK, IDYES ...), or 0
  // when the box could not be shown.
  virtual int Show(HWND owner, const std::string& text, const std::string& caption, UINT style) = 0;
};

// MessageBoxA, nothing else.
class SystemBoxPresenter : public BoxPresenter {
 public:
  int Show(HWND owner, const std::string& text, const std::string& caption, UINT style) override;
};

// The presenter in use; the system one until SetBoxPresenter is called.
BoxPresenter& CurrentBoxPresenter();

// Installs `presenter` (not owned; it must outlive its use) and returns the
// previous one. Null puts the system presenter back.
BoxPresenter* SetBoxPresenter(BoxPresenter* presenter);

// Installs a presenter for the lifetime of the object and restores the
// previous one after it.
class ScopedBoxPresenter {
 public:
  explicit ScopedBoxPresenter(BoxPresenter* presenter) : previous_(SetBoxPresenter(presenter)) {}
  ~ScopedBoxPresenter() { SetBoxPresenter(previous_); }
  ScopedBoxPresenter(const ScopedBoxPresenter&) = delete;
  ScopedBoxPresenter& operator=(const ScopedBoxPresenter&) = delete;

 private:
  BoxPresenter* previous_;
};

}  // namespace ld
