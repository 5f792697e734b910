// The named child controls of one window ("BTN_CLOSE", "EDT_PATH" ...). The
// set owns its control objects; the windows of the controls are children of
// the set's window. Main (window) thread only.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "starter/ui/c_window.h"

namespace ld {

class ControlSet {
 public:
  ControlSet() = default;
  ~ControlSet() { DestroyAll(); }
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  // The control of that name, or null.
  cWindow* Find(const std::string& name) const;
  // The control whose window is `window`, with its name; null when none is.
  cWindow* FindByWindow(HWND window, std::string* name = nullptr) const;
  // The slot of `name`, created empty when absent; the caller puts the new
  // control there.
  std::unique_ptr<cWindow>& Add(const std::string& name);
  // Shows every control whose window exists.
  void ShowAll() const;
  // Destroys every control window, deletes every object, empties the set.
  void DestroyAll();

  std::size_t size() const { return controls_.size(); }
  const std::map<std::string, std::unique_ptr<cWindow>>& controls() const { return controls_; }

 private:
  // Byte-wise name order.
  std::map<std::string, std::unique_ptr<cWindow>> controls_;
};

}  // namespace ld
