#include "starter/platform/code_page.h"

#include <windows.h>

#include <climits>
#include <vector>

namespace ld {
namespace {

// MultiByteToWideChar then WideCharToMultiByte; invalid input fails instead
// of turning into replacement characters.
bool Convert(const std::string& in, UINT from, UINT to, std::string* out) {
  if (in.empty()) {
    out->clear();
    return true;
  }
  if (in.size() > static_cast<std::size_t>(INT_MAX)) return false;
  const int in_len = static_cast<int>(in.size());
  const int wide_len =
      ::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), in_len, nullptr, 0);
  if (wide_len <= 0) return false;
  std::vector<wchar_t> wide(static_cast<std::size_t>(wide_len));
  if (::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), in_len, wide.data(), wide_len) !=
      wide_len) {
    return false;
  }
  // WC_ERR_INVALID_CHARS is only allowed for UTF-8; other targets report
  // unmappable characters through the default-character flag instead.
  BOOL used_default = FALSE;
  const DWORD flags = to == CP_UTF8 ? WC_ERR_INVALID_CHARS : 0;
  BOOL* const used = to == CP_UTF8 ? nullptr : &used_default;
  const int out_len =
      ::WideCharToMultiByte(to, flags, wide.data(), wide_len, nullptr, 0, nullptr, used);
  if (out_len <= 0 || used_default) return false;
  std::string result(static_cast<std::size_t>(out_len), '\0');
  if (::WideCharToMultiByte(to, flags, wide.data(), wide_len, &result[0], out_len, nullptr, used) !=
          out_len ||
      used_default) {
    return false;
  }
  *out = std::move(result);
  return true;
}

}  // namespace

bool Cp949ToUtf8(const std::string& cp949, std::string* utf8) {
  return Convert(cp949, kKoreanCodePage, CP_UTF8, utf8);
}

bool Utf8ToCp949(const std::string& utf8, std::string* cp949) {
  return Convert(utf8, CP_UTF8, kKoreanCodePage, cp949);
}

}  // namespace ld
