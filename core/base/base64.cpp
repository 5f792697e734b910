#include "core/base/base64.h"

namespace ld {
namespace {

// -1 for bytes outside the standard alphabet.
int SextetOf(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string Base64Decode(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 3);
  unsigned long group = 0;
  int count = 0;
  auto flush = [&]() {
    // n sextets give 6n bits, left-aligned in 24; only whole bytes count.
    group <<= 6 * (4 - count);
    const int bytes = count * 6 / 8;
    for (int b = 0; b < bytes; ++b)
      out.push_back(static_cast<char>((group >> (16 - 8 * b)) & 0xFF));
    group = 0;
    count = 0;
  };
  for (unsigned char c : text) {
    const int v = SextetOf(c);
    if (v < 0) continue;
    group = (group << 6) | static_cast<unsigned long>(v);
    if (++count == 4) flush();
  }
  if (count > 0) flush();
  // Consumers hold the value as a C string: a decoded NUL ends it.
  const std::size_t nul = out.find('\0');
  if (nul != std::string::npos) out.resize(nul);
  return out;
}

}  // namespace ld
