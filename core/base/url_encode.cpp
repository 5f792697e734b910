#include "core/base/url_encode.h"

namespace ld {
namespace {

// Decided on the unsigned byte: a lead byte of a Korean letter must never be
// taken for a letter by a locale-aware classification.
bool KeptAsIs(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '@' ||
         c == '.';
}

}  // namespace

std::string UrlEncode(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (char ch : bytes) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == ' ') {
      out.push_back('+');
    } else if (KeptAsIs(c)) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(kDigits[c >> 4]);
      out.push_back(kDigits[c & 0xF]);
    }
  }
  return out;
}

bool UrlEncodeBounded(std::string_view bytes, std::size_t max_chars, std::string* out) {
  std::string encoded = UrlEncode(bytes);
  if (encoded.size() > max_chars) return false;
  *out = std::move(encoded);
  return true;
}

}  // namespace ld
