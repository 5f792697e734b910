#include "starter/ui/control_set.h"

namespace ld {

cWindow* ControlSet::Find(const std::string& name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second.get();
}

cWindow* ControlSet::FindByWindow(HWND window, std::string* name) const {
  if (window == nullptr) return nullptr;
  for (const auto& entry : controls_) {
    if (entry.second && entry.second->hwnd() == window) {
      if (name != nullptr) *name = entry.first;
      return entry.second.get();
    }
  }
  return nullptr;
}

std::unique_ptr<cWindow>& ControlSet::Add(const std::string& name) { return controls_[name]; }

void ControlSet::ShowAll() const {
  for (const auto& entry : controls_) {
    if (entry.second && entry.second->hwnd() != nullptr) {
      ::ShowWindow(entry.second->hwnd(), SW_SHOW);
    }
  }
}

void ControlSet::DestroyAll() {
  for (auto& entry : controls_) {
    if (entry.second && entry.second->hwnd() != nullptr) ::DestroyWindow(entry.second->hwnd());
  }
  controls_.clear();
}

}  // namespace ld
