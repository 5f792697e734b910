#include "starter/platform/string_table.h"

#include <atomic>
#include <vector>

namespace ld {
namespace {

std::atomic<HINSTANCE> g_string_module{nullptr};

}  // namespace

void SetStringModule(HINSTANCE module) { g_string_module.store(module); }

HINSTANCE StringModule() {
  HINSTANCE module = g_string_module.load();
  return module != nullptr ? module : ::GetModuleHandleA(nullptr);
}

bool TryLoadText(unsigned id, std::size_t buffer_size, std::string* out) {
  out->clear();
  if (buffer_size < 2) return false;
  // LoadStringA takes an int-sized buffer; larger requests gain nothing.
  if (buffer_size > 65536) buffer_size = 65536;
  std::vector<char> buffer(buffer_size, '\0');
  int length = ::LoadStringA(StringModule(), id, buffer.data(), static_cast<int>(buffer_size));
  if (length <= 0) return false;
  out->assign(buffer.data(), static_cast<std::size_t>(length));
  return true;
}

std::string LoadText(unsigned id, std::size_t buffer_size) {
  std::string text;
  TryLoadText(id, buffer_size, &text);
  return text;
}

bool EnglishTableInUse() { return LoadText(IDS_LANGUAGE_TAG, 16) == "en"; }

}  // namespace ld
