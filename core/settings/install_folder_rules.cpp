#include "core/settings/install_folder_rules.h"

namespace ld {
namespace {

std::string CutTo(std::string text, std::size_t capacity) {
  if (text.size() >= capacity) text.resize(capacity - 1);
  return text;
}

bool IsLeadByte949(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

std::string LanguageOfLaunchString(std::string_view gamestring, GamestringFormat format) {
  if (format == GamestringFormat::kNew) return kDefaultLanguage;
  std::size_t key = gamestring.find("lang");
  if (key == std::string_view::npos) return {};
  std::size_t eq = gamestring.find('=', key);
  if (eq == std::string_view::npos) return {};
  std::string_view rest = gamestring.substr(eq + 1);
  return std::string(rest.substr(0, rest.find('&')));
}

std::string RegistryKeyForLanguage(std::string_view language) {
  std::string key = kRegistryRoot;
  key += '\\';
  key += language;
  return CutTo(std::move(key), kRegistryKeyCapacity);
}

void UpperCaseMultiByte(std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte949(c) && i + 1 < text.size()) {
      ++i;  // the trail byte may look like an ASCII letter
    } else if (c >= 'a' && c <= 'z') {
      text[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
}

StoredHome AnalyseStoredHome(std::string_view home, std::string_view language) {
  StoredHome result;
  result.folder = CutTo(std::string(home), kFolderCapacity);
  std::string suffix = "\\" + std::string(language);
  if (result.folder.find(suffix) == std::string::npos) {
    std::size_t slash = result.folder.rfind('\\');
    if (slash == std::string::npos) {
      result.damaged = true;
      return result;
    }
    std::string tail = result.folder.substr(slash);
    UpperCaseMultiByte(tail);
    result.folder.replace(slash, std::string::npos, tail);
    if (std::string_view(result.folder).substr(slash + 1) != language) {
      result.damaged = true;
      return result;
    }
  }
  result.install_root = result.folder.substr(0, result.folder.find(suffix));
  return result;
}

std::string InstallRootOrDefault(std::string_view chosen, char windows_drive) {
  if (!chosen.empty()) return CutTo(std::string(chosen), kFolderCapacity);
  std::string root(1, windows_drive);
  root += ":\\Ludoria";
  return root;
}

std::string LanguageFolder(std::string_view root, std::string_view language) {
  std::string folder(root);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  folder += language;
  return CutTo(std::move(folder), kFolderCapacity);
}

}  // namespace ld
